//-------------------------------------------------------------
// VARIABLE
//-------------------------------------------------------------
float4x4 mTransform;			// world x view x projection
float VertexExtrusion;			// distance along the normal
float FogParameter[2];			// fog scale and offset
float4 FogTransform;			// fog depth of a local position
float SlideTextureU;			// texture slide
float SlideTextureV;			// texture slide
float4 MaterialDiffuse;			// material colour
float4 MaterialAmbient;			// material ambient colour
float4x4 mBoneMatrixArray[30];	// bone palette
float4 LightAmbient;			// ambient light
float4 LightSpecular;			// specular light
bool LightIsUse[4];				// lights on
bool LightIsDirectional[4];		// directional or point
float LightAttenuation[4];		// attenuation
float4 LightParameter[4];		// direction or position
float4 LightColor[4];			// light colour

//-------------------------------------------------------------
// VERTEX_SHADER INPUT
//-------------------------------------------------------------
struct VS_INPUT
{
	float4 Position : POSITION;
	float3 Normal : NORMAL;
	float4 BlendWeights : BLENDWEIGHT;
	float4 BlendIndices : BLENDINDICES;
	float4 Color : COLOR0;
	float2 TexUV : TEXCOORD0;
};

//-------------------------------------------------------------
// VERTEX_SHADER OUTPUT
//-------------------------------------------------------------
struct VS_OUTPUT
{
	float4 Position : POSITION;
	float4 Color : COLOR0;
	float2 TexUV0 : TEXCOORD0;
	float3 TexUV1 : TEXCOORD1;
	float Fog : FOG;
};

//-------------------------------------------------------------
// ライトの計算
//-------------------------------------------------------------
float4 ComputeLight( int no, float3 norm, float4 pos )
{
	float4 vColor = float4( 0, 0, 0, 0 );
	if ( LightIsUse[no] )
	{
		float fPower;
		if ( LightIsDirectional[no] )
		{
			fPower = -dot( LightParameter[no], norm );
		}
		else
		{
			fPower = -dot( normalize( pos - LightParameter[no] ), norm );
		}
		vColor = max( float4( 0, 0, 0, 1 ), LightColor[no] * fPower );
	}
	return vColor;
}

//-------------------------------------------------------------
// VERTEX SHADER
//-------------------------------------------------------------
VS_OUTPUT VertexShader_00( const VS_INPUT Input )
{
	float4 vLightColor = float4( 0, 0, 0, 0 );
	VS_OUTPUT Output = (VS_OUTPUT)0;

	float LastWeight = 1.0;
	float4 vPosLocal = float4( 0, 0, 0, 0 );
	float3 vNormWorld = float3( 0, 0, 0 );
	int4 IndexVector = D3DCOLORtoUBYTE4( Input.BlendIndices );
	vPosLocal += mul( Input.Position, mBoneMatrixArray[IndexVector.x] ) * Input.BlendWeights.x;
	vNormWorld += mul( Input.Normal, (float3x3)mBoneMatrixArray[IndexVector.x] ) * Input.BlendWeights.x;
	LastWeight -= Input.BlendWeights.x;
	vPosLocal += mul( Input.Position, mBoneMatrixArray[IndexVector.y] ) * Input.BlendWeights.y;
	vNormWorld += mul( Input.Normal, (float3x3)mBoneMatrixArray[IndexVector.y] ) * Input.BlendWeights.y;
	LastWeight -= Input.BlendWeights.y;
	vPosLocal += mul( Input.Position, mBoneMatrixArray[IndexVector.z] ) * Input.BlendWeights.z;
	vNormWorld += mul( Input.Normal, (float3x3)mBoneMatrixArray[IndexVector.z] ) * Input.BlendWeights.z;
	LastWeight -= Input.BlendWeights.z;
	vPosLocal += mul( Input.Position, mBoneMatrixArray[IndexVector.w] ) * LastWeight;
	vNormWorld += mul( Input.Normal, (float3x3)mBoneMatrixArray[IndexVector.w] ) * LastWeight;
	vPosLocal += float4( vNormWorld, 0 ) * VertexExtrusion;
	float4 vPosProj = mul( float4( vPosLocal.xyz, 1.0 ), mTransform );
	Output.Position = vPosProj;

	float FogZ = mul( vPosLocal, FogTransform );
	Output.Fog = max( 0, min( 1, FogZ * FogParameter[0] + FogParameter[1] ) );

	vLightColor += ComputeLight( 0, vNormWorld, vPosLocal );
	vLightColor += ComputeLight( 1, vNormWorld, vPosLocal );
	vLightColor += ComputeLight( 2, vNormWorld, vPosLocal );
	vLightColor += ComputeLight( 3, vNormWorld, vPosLocal );
	vLightColor = max( vLightColor, LightAmbient );
	vLightColor = min( vLightColor * MaterialDiffuse, float4( 1, 1, 1, 1 ) );
	Output.Color = vLightColor;
	Output.Color.a = MaterialDiffuse.a;

	Output.TexUV0.xy = Input.TexUV + float2( SlideTextureU, SlideTextureV );
	Output.TexUV1.xy = Input.TexUV + float2( SlideTextureU, SlideTextureV );

	return Output;
}

//-------------------------------------------------------------
// TECHNIQUE
//-------------------------------------------------------------
technique Technique00
{
	pass Pass00
	{
		VertexShader = compile vs_2_0 VertexShader_00();
	}
}
