#include "runtime/host/device3d/StageProgram.h"

#include <cstdio>
#include <string>

#include "runtime/host/device3d/GlState.h"

namespace {

// Pre-transformed vertices: pixels of the render target, y down, moved by
// half a pixel so that integer positions fall on pixel centres as the
// layer's rasterisation expects. The target is stored top row first, so y
// needs no flip.
const char kVertexShader[] = R"(#version 330 core
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec4 a_specular;
layout(location = 3) in vec2 a_texture0;
layout(location = 4) in vec2 a_texture1;
uniform vec4 u_target;
flat out vec4 v_diffuse;
flat out vec4 v_specular;
noperspective out vec2 v_texture0;
noperspective out vec2 v_texture1;
void main() {
  float w = a_position.w != 0.0 ? 1.0 / a_position.w : 1.0;
  vec2 p = (a_position.xy - u_target.xy + 0.5) * u_target.zw - 1.0;
  gl_Position = vec4(p * w, (a_position.z * 2.0 - 1.0) * w, w);
  v_diffuse = a_diffuse;
  v_specular = a_specular;
  v_texture0 = a_texture0;
  v_texture1 = a_texture1;
}
)";

// Stage i is u_stages[2i] = (colour op, colour arg 1, colour arg 2, alpha
// op) and u_stages[2i + 1] = (alpha arg 1, alpha arg 2, texture-coordinate
// set, bit 0 sample the unit's texture, bit 1 its colour key discards).
// The operation and argument numbers are those of Device3D.h. Most draws
// take one textured stage that selects or modulates the texel: the program
// compiled with PLAIN does only that, with the colour modulated by the
// diffuse colour (u_plain.y), the alpha from the texel (z) and from the
// diffuse (w). A GL rasteriser in software runs every branch of a program,
// taken or not, so the plain draw gets a program without the others.
const char kFragmentShader[] = R"(
uniform ivec4 u_stages[16];
uniform vec4 u_plain;
uniform vec4 u_keys[4];
uniform vec4 u_factor;
uniform ivec4 u_fragment;
uniform sampler2D u_texture0;
uniform sampler2D u_texture1;
uniform sampler2D u_texture2;
uniform sampler2D u_texture3;
flat in vec4 v_diffuse;
flat in vec4 v_specular;
noperspective in vec2 v_texture0;
noperspective in vec2 v_texture1;
out vec4 o_color;

vec4 Sample(int unit, vec2 uv) {
  if (unit == 0) return texture(u_texture0, uv);
  if (unit == 1) return texture(u_texture1, uv);
  if (unit == 2) return texture(u_texture2, uv);
  return texture(u_texture3, uv);
}

vec4 Arg(int arg, vec4 diffuse, vec4 specular, vec4 current, vec4 texel) {
  int which = arg & 15;
  vec4 v = diffuse;
  if (which == 1) v = current;
  else if (which == 2) v = texel;
  else if (which == 3) v = u_factor;
  else if (which == 4) v = specular;
  if ((arg & 16) != 0) v = 1.0 - v;
  return v;
}

vec4 Combine(int op, vec4 a, vec4 b, float diffuseAlpha, float texelAlpha, float currentAlpha) {
  if (op == 3) return b;
  if (op == 4) return a * b;
  if (op == 5) return min(a * b * 2.0, 1.0);
  if (op == 6) return min(a * b * 4.0, 1.0);
  if (op == 7) return min(a + b, 1.0);
  if (op == 8) return max(a - b, 0.0);
  if (op == 9) return mix(b, a, diffuseAlpha);
  if (op == 10) return mix(b, a, texelAlpha);
  if (op == 11) return mix(b, a, u_factor.a);
  if (op == 12) return mix(b, a, currentAlpha);
  return a;
}

bool Passes(int function, int value, int reference) {
  if (function == 1) return false;
  if (function == 2) return value < reference;
  if (function == 3) return value == reference;
  if (function == 4) return value <= reference;
  if (function == 5) return value > reference;
  if (function == 6) return value != reference;
  if (function == 7) return value >= reference;
  return true;
}

void main() {
  vec4 diffuse = v_diffuse;
  vec4 specular = v_specular;
  vec4 current = diffuse;
#ifdef PLAIN
  // The plain draw: one stage taking the texel, times the diffuse colour
  // or alpha where the stage says.
  ivec4 s1 = u_stages[1];
  vec4 texel = texture(u_texture0, s1.z == 0 ? v_texture0 : v_texture1);
  if ((s1.w & 2) != 0 && all(lessThan(abs(texel - u_keys[0]), vec4(0.5 / 255.0)))) discard;
  current = vec4(texel.rgb * mix(vec3(1.0), diffuse.rgb, u_plain.y),
                 mix(1.0, texel.a, u_plain.z) * mix(1.0, diffuse.a, u_plain.w));
#else
  for (int i = 0; i < 8; ++i) {
    ivec4 s0 = u_stages[2 * i];
    ivec4 s1 = u_stages[2 * i + 1];
    if (s0.x == 1) break;
    vec4 texel = vec4(1.0);
    if ((s1.w & 1) != 0) {
      texel = Sample(i, s1.z == 0 ? v_texture0 : v_texture1);
      if ((s1.w & 2) != 0 && all(lessThan(abs(texel - u_keys[i]), vec4(0.5 / 255.0)))) discard;
    }
    vec4 c = Combine(s0.x, Arg(s0.y, diffuse, specular, current, texel), Arg(s0.z, diffuse, specular, current, texel),
                     diffuse.a, texel.a, current.a);
    float a = current.a;
    if (s0.w != 1) {
      a = Combine(s0.w, Arg(s1.x, diffuse, specular, current, texel), Arg(s1.y, diffuse, specular, current, texel),
                  diffuse.a, texel.a, current.a).a;
    }
    current = vec4(c.rgb, a);
  }
#endif
  if (u_fragment.z != 0) current.rgb = min(current.rgb + specular.rgb, 1.0);
  if (u_fragment.x != 0 && !Passes(u_fragment.x, int(floor(current.a * 255.0 + 0.5)), u_fragment.y)) discard;
  o_color = current;
}
)";

GLuint Compile(GLenum kind, const char* source) {
  const GLuint shader = gl::CreateShader(kind);
  gl::ShaderSource(shader, 1, &source, nullptr);
  gl::CompileShader(shader);
  GLint ok = 0;
  gl::GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gl::GetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "stage program: %s\n", log);
    gl::DeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

StageProgram BuildStageProgram(bool plain) {
  StageProgram p;
  const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
  const std::string fragmentSource =
      std::string("#version 330 core\n") + (plain ? "#define PLAIN 1\n" : "") + kFragmentShader;
  const GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource.c_str());
  if (vertex == 0 || fragment == 0) {
    if (vertex) gl::DeleteShader(vertex);
    if (fragment) gl::DeleteShader(fragment);
    return p;
  }
  const GLuint program = gl::CreateProgram();
  gl::AttachShader(program, vertex);
  gl::AttachShader(program, fragment);
  gl::LinkProgram(program);
  gl::DeleteShader(vertex);
  gl::DeleteShader(fragment);
  GLint ok = 0;
  gl::GetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gl::GetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "stage program: %s\n", log);
    gl::DeleteProgram(program);
    return p;
  }
  p.program = program;
  p.target = gl::GetUniformLocation(program, "u_target");
  p.stages = gl::GetUniformLocation(program, "u_stages");
  p.keys = gl::GetUniformLocation(program, "u_keys");
  p.plain = gl::GetUniformLocation(program, "u_plain");
  p.factor = gl::GetUniformLocation(program, "u_factor");
  p.fragment = gl::GetUniformLocation(program, "u_fragment");
  UseProgram(program);
  const char* samplers[4] = {"u_texture0", "u_texture1", "u_texture2", "u_texture3"};
  for (int i = 0; i < 4; ++i) gl::Uniform1i(gl::GetUniformLocation(program, samplers[i]), i);
  return p;
}
