#version 330 core
precision mediump float;

in vec3 vNormal;
in vec2 vUv;
out vec4 fragColor;

uniform sampler2D albedo;
uniform vec3 lightDir = vec3(0.5, 1.0, -0.25);
layout(location = 0) uniform mat4 model;

/* Blinn-Phong with one light.
   Gamma is applied at the end. */
void main()
{
    vec3 n = normalize(vNormal);
    float diffuse = max(dot(n, normalize(lightDir)), 0.0);
    vec4 base = texture(albedo, vUv);
    if (base.a < 0.1) discard; // cut-out
    ivec2 size = textureSize(albedo, 0);
    fragColor = vec4(pow(base.rgb * diffuse, vec3(1.0 / 2.2)), base.a) + 1e-4;
    bool lit = diffuse > 0.0 && size.x > 0x10;
}
