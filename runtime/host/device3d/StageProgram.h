#pragma once
// Inside runtime/host/device3d only: the stage program that carries out
// every texture-stage set-up, the alpha test and the colour keys, compiled
// whole and cut to the plain one-stage draw.

#include "runtime/host/device3d/GlCalls.h"

struct StageProgram {
  GLuint program = 0;
  GLint target = -1;     // vec4: origin x, y; 2 / width, 2 / height
  GLint stages = -1;     // ivec4[16]: two per stage
  GLint keys = -1;       // vec4[4]: colour key of each texture unit
  GLint plain = -1;      // vec4: the one-stage draw's short way (StageProgram.cpp)
  GLint factor = -1;     // vec4: the texture factor
  GLint fragment = -1;   // ivec4: alpha-test function (0 off), reference, specular add, flat shading
};

// 0 in program when compiling or linking failed. plain: the program cut to
// the one-stage plain draw (StageProgram.cpp).
StageProgram BuildStageProgram(bool plain);

// Vertex inputs.
constexpr GLuint kAttribPosition = 0;
constexpr GLuint kAttribDiffuse = 1;
constexpr GLuint kAttribSpecular = 2;
constexpr GLuint kAttribTexture0 = 3;
constexpr GLuint kAttribTexture1 = 4;
