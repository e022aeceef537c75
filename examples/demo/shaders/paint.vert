// Diffuse light from the viewer's light, and texture coordinates repeated `repeat` times.
#version 110
uniform vec2 repeat;
varying float light;
void main() {
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 toLight = normalize(gl_LightSource[0].position.xyz);
    light = 0.25 + 0.75 * max(dot(normal, toLight), 0.0);
    gl_TexCoord[0] = vec4(gl_MultiTexCoord0.st * repeat, 0.0, 1.0);
    gl_Position = ftransform();
}
