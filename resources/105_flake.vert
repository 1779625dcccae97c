#version 110
// Snowflake vertex shader: spins and moves each mesh copy by iTime
// and lights it (Phong).

attribute vec4 position;
attribute vec3 position_translation;
attribute vec2 position_tex;
attribute vec3 position_normal;
attribute vec3 move_direction;
attribute vec3 rotation_angles;
attribute vec3 time_start_finish_zero;

varying vec2 fs_tex;
varying vec4 color;
varying float time_left;

uniform vec3 light_pos;
uniform mat4 model_view;
uniform float iTime;

void main()
{
    float iTimePassed = iTime - time_start_finish_zero.x;
    float xAngle = rotation_angles.x * iTimePassed;
    float yAngle = rotation_angles.y * iTimePassed;
    float zAngle = rotation_angles.z * iTimePassed;

    float cx = cos(xAngle);
    float sx = sin(xAngle);
    float cy = cos(yAngle);
    float sy = sin(yAngle);
    float cz = cos(zAngle);
    float sz = sin(zAngle);
    mat3 xMatrix = mat3(1.0, 0.0, 0.0, 0.0, cx, -sx, 0.0, sx, cx);
    mat3 yMatrix = mat3(cy, 0.0, sy, 0.0, 1.0, 0.0, -sy, 0.0, cy);
    mat3 zMatrix = mat3(cz, -sz, 0.0, sz, cz, 0.0, 0.0, 0.0, 1.0);
    mat3 rotation = xMatrix * yMatrix * zMatrix;

    vec3 rotated_position = rotation * position.xyz;
    vec3 rotated_normal = rotation * position_normal;
    vec4 world_position = vec4(rotated_position + position_translation
                               + move_direction * iTimePassed, 1.0);
    fs_tex = position_tex;

    vec4 P = model_view * world_position;
    vec3 N = normalize((model_view * vec4(rotated_normal, 0.0)).xyz);
    vec3 L = normalize(light_pos - P.xyz);
    vec3 V = normalize(-P.xyz);
    vec3 R = reflect(-L, N);

    vec3 ambient = vec3(0.55, 0.68, 0.8);
    vec3 diffuse_albedo = vec3(1.0, 1.0, 1.0);
    vec3 specular_albedo = vec3(0.5, 0.5, 0.5);
    float specular_power = 32.0;
    vec3 diffuse = max(dot(N, L), 0.0) * diffuse_albedo;
    vec3 specular = pow(max(dot(R, V), 0.0), specular_power) * specular_albedo;

    color = vec4(ambient + diffuse + specular, 1.0);
    time_left = time_start_finish_zero.y - iTime;
    gl_Position = P;
}
//~
