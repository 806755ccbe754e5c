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

//-------------------------------------------------------------
// VERTEX_SHADER INPUT
//-------------------------------------------------------------
struct VS_INPUT
{
	float4 Position : POSITION;
	float3 Normal : NORMAL;
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
// VERTEX SHADER
//-------------------------------------------------------------
VS_OUTPUT VertexShader_00( const VS_INPUT Input )
{
	float4 vLightColor = float4( 0, 0, 0, 0 );
	VS_OUTPUT Output = (VS_OUTPUT)0;

	float3 vNormWorld = Input.Normal;
	float4 vPosLocal = Input.Position + float4( Input.Normal, 0 ) * VertexExtrusion;
	float4 vPosProj = mul( vPosLocal, mTransform );
	Output.Position = vPosProj;

	float FogZ = mul( vPosLocal, FogTransform );
	Output.Fog = max( 0, min( 1, FogZ * FogParameter[0] + FogParameter[1] ) );

	vLightColor = MaterialDiffuse;
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
