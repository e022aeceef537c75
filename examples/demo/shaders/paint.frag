// The texture (when `textured` is 1) or white, tinted and lit.
#version 110
uniform sampler2D pattern;
uniform float textured;
uniform vec3 tint;
varying float light;
void main() {
    vec3 base = mix(vec3(1.0), texture2D(pattern, gl_TexCoord[0].st).rgb, textured);
    gl_FragColor = vec4(base * tint * light, 1.0);
}
