#pragma once
// Where drawing goes, the rectangle helpers every path uses, and the camera
// matrices that each change of draw target sets up.

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"

struct Vector3 {
  float x;
  float y;
  float z;
};

// target: -4 front screen, -2 back screen, or a graphic. 0; -1 when the
// graphics system is not started or the target cannot be selected (the old
// one is selected again); -2 when the old one cannot be selected either.
int SetDrawTarget(int target);

int NormalizeRect(IntRect* rect);
int GetRectSize(const IntRect& rect, int* width, int* height);
int SetIdentityMatrix(Matrix4* out);
int MakeLookAtMatrix(Matrix4* out, const Vector3& eye, const Vector3& target, const Vector3& up);
// -1 for a degenerate perspective; the matrix is then not written.
int MakePerspectiveMatrix(Matrix4* out, float fieldOfView, float nearZ, float farZ, float aspect);
int SetWorldMatrix(const Matrix4& matrix, int index);
int SetViewMatrix(const Matrix4& matrix);
int SetProjectionMatrix(const Matrix4& matrix);
