#include <metal_stdlib>
using namespace metal;

// A separable box blur.
struct VertexOut {
    float4 position [[position]];
    float2 uv;
};

constant float weights[3] = {0.25f, 0.5f, 0.25f};

kernel void blur(texture2d<half, access::read> input [[texture(0)]],
                 texture2d<half, access::write> output [[texture(1)]],
                 uint2 gid [[thread_position_in_grid]])
{
    half4 sum = half4(0.0h);
    for (int i = -1; i <= 1; ++i) {
        uint2 p = uint2(int2(gid) + int2(i, 0));
        sum += input.read(p) * weights[i + 1]; /* edge pixels repeat */
    }
    output.write(sum, gid);
}

fragment half4 shade(VertexOut in [[stage_in]], device const float *params [[buffer(0)]])
{
    return half4(in.uv.x, in.uv.y, params[0] * 1e-3, 1.0);
}
