// The templates our X files use, written as X text: geometry (vectors, faces, meshes with normals,
// texture coordinates, vertex colours and materials), frames and animations, and skinning.
#include "platform/d3dx/xfile.h"

namespace platform::d3dx {

const char* StandardTemplates() {
    return R"(xof 0303txt 0032
template Header { WORD major; WORD minor; DWORD flags; }
template Vector { FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { FLOAT u; FLOAT v; }
template Matrix4x4 { array FLOAT matrix[16]; }
template ColorRGBA { FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { DWORD index; ColorRGBA indexColor; }
template TextureFilename { STRING filename; }
template Material {
    ColorRGBA faceColor;
    FLOAT power;
    ColorRGB specularColor;
    ColorRGB emissiveColor;
    [...]
}
template MeshFace { DWORD nFaceVertexIndices; array DWORD faceVertexIndices[nFaceVertexIndices]; }
template MeshTextureCoords { DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }
template MeshNormals {
    DWORD nNormals;
    array Vector normals[nNormals];
    DWORD nFaceNormals;
    array MeshFace faceNormals[nFaceNormals];
}
template MeshVertexColors { DWORD nVertexColors; array IndexedColor vertexColors[nVertexColors]; }
template MeshMaterialList {
    DWORD nMaterials;
    DWORD nFaceIndexes;
    array DWORD faceIndexes[nFaceIndexes];
    [Material]
}
template Mesh {
    <3D82AB44-62DA-11CF-AB39-0020AF71E433>
    DWORD nVertices;
    array Vector vertices[nVertices];
    DWORD nFaces;
    array MeshFace faces[nFaces];
    [...]
}
template FrameTransformMatrix { <F6F23F41-7686-11CF-8F52-0040333594A3> Matrix4x4 frameMatrix; }
template Frame { <3D82AB46-62DA-11CF-AB39-0020AF71E433> [...] }
template FloatKeys { DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { DWORD time; FloatKeys tfkeys; }
template AnimationKey {
    <10DD46A8-775B-11CF-8F52-0040333594A3>
    DWORD keyType;
    DWORD nKeys;
    array TimedFloatKeys keys[nKeys];
}
template AnimationOptions { DWORD openclosed; DWORD positionquality; }
template Animation { <3D82AB4F-62DA-11CF-AB39-0020AF71E433> [...] }
template AnimationSet { <3D82AB50-62DA-11CF-AB39-0020AF71E433> [Animation] }
)";
}

const char* SkinTemplates() {
    return R"(xof 0303txt 0032
template XSkinMeshHeader {
    <3CF169CE-FF7C-44AB-93C0-F78F62D172E2>
    WORD nMaxSkinWeightsPerVertex;
    WORD nMaxSkinWeightsPerFace;
    WORD nBones;
}
template VertexDuplicationIndices {
    <B8D65549-D7C9-4995-89CF-53A9A8B031E3>
    DWORD nIndices;
    DWORD nOriginalVertices;
    array DWORD indices[nIndices];
}
template SkinWeights {
    <6F0D123B-BAD2-4167-A0D0-80224F25FABB>
    STRING transformNodeName;
    DWORD nWeights;
    array DWORD vertexIndices[nWeights];
    array FLOAT weights[nWeights];
    Matrix4x4 matrixOffset;
}
)";
}

}  // namespace platform::d3dx
