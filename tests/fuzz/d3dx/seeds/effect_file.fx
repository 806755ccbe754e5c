// a comment
#define UNUSED 1
/* a block
   comment */
struct VS_IN { float4 p : POSITION; };
uniform float4x4 mWorld : WORLD;
float4 Tint < string UIName = "tint"; > = { 0.5, 0.25, 1, 1 };
float3 Direction = float3( 1, 2e1, 3.5e-1f );
bool Flags[2] = { true, false };
int Count = 3;
float Weights[4];
string Title = "cube";
texture Skin;
sampler SkinSampler = sampler_state { Texture = <Skin>; MinFilter = LINEAR; };
static float Hidden = 2.0;
float4 Shade( VS_IN i ) : COLOR0 { if ( i.p.x > 0 ) { return Tint; } return float4( 0, 0, 0, 1 ); }
technique Main < int order = 1; >
{
    pass First { VertexShader = compile vs_2_0 Shade(); ZEnable = true; }
    pass Second { PixelShader = compile ps_2_0 Shade(); }
}
