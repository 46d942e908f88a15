#include "runtime/graphics/graphic/DrawTarget.h"

#include "runtime/Movan.h"

#include <cmath>
#include <utility>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"

namespace {

Vector3 Sub(const Vector3& a, const Vector3& b) { return Vector3{a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 Cross(const Vector3& a, const Vector3& b) {
  return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 Normalised(const Vector3& v) {
  const float length = std::sqrt(Dot(v, v));
  if (length == 0.0f) return v;
  return Vector3{v.x / length, v.y / length, v.z / length};
}

void SetCamera(int width, int height) {
  Matrix4 m;
  SetIdentityMatrix(&m);
  SetWorldMatrix(m, 0);
  const float d = static_cast<float>(height / 2) * 1.7320509f;
  const float cx = static_cast<float>(width) * 0.5f;
  const float cy = static_cast<float>(height) * 0.5f;
  MakeLookAtMatrix(&m, Vector3{cx, cy, -d}, Vector3{cx, cy, -d + 1.0f}, Vector3{0.0f, 1.0f, 0.0f});
  SetViewMatrix(m);
  if (MakePerspectiveMatrix(&m, 1.0471976f, d * 0.01f, d + 1000.0f, -1.0f) == 0) SetProjectionMatrix(m);
}

}  // namespace

int SetDrawTarget(int target) {
  if (!gScreen.graphicsStarted) return -1;
  WaitWhileInactive();
  const int old = gDrawState.drawTarget;
  gDrawState.drawTarget = target;
  IntRect front = {0, 0, 0, 0};
  if (target == -4 && !gScreen.emulateFront && IsWindowMode() && !HasSoftwareScreens2D()) {
    GetClientScreenRect(&front);
  }
  gDrawState.frontScreenRect = front;
  // The 3D device's render target follows; the target fails only when
  // neither path can draw on it.
  const int result3D = HasDevice3D() ? SetDrawTarget3D(target, old) : -1;
  if (SelectDrawSurface(target, old) != 0 && result3D != 0) {
    // Back to the old target, once.
    gDrawState.drawTarget = old;
    if (HasDevice3D()) SetDrawTarget3D(old, target);
    if (SelectDrawSurface(old, target) != 0) return -2;
    return -1;
  }
  int oldWidth = gDrawState.targetWidth;
  int oldHeight = gDrawState.targetHeight;
  int width = 0;
  int height = 0;
  GetGraphicSize(target, &width, &height);
  gDrawState.targetWidth = width;
  gDrawState.targetHeight = height;
  if (oldWidth == width && oldHeight == height) {
    const IntRect r = gDrawState.drawRegion;
    SetDrawRegion(r.left, r.top, r.right, r.bottom);
  } else {
    SetDrawRegion(0, 0, width, height);
  }
  SetCamera(width, height);
  return 0;
}

int NormalizeRect(IntRect* rect) {
  if (rect->right < rect->left) std::swap(rect->left, rect->right);
  if (rect->bottom < rect->top) std::swap(rect->top, rect->bottom);
  return 0;
}

int GetRectSize(const IntRect& rect, int* width, int* height) {
  if (width) *width = rect.right - rect.left;
  if (height) *height = rect.bottom - rect.top;
  return 0;
}

int SetIdentityMatrix(Matrix4* out) {
  *out = Matrix4{};
  for (int i = 0; i < 4; ++i) out->m[i][i] = 1.0f;
  return 0;
}

int MakeLookAtMatrix(Matrix4* out, const Vector3& eye, const Vector3& target, const Vector3& up) {
  const Vector3 d = Sub(target, eye);
  const Vector3 x = Normalised(Cross(up, d));
  const Vector3 y = Normalised(Cross(d, Cross(up, d)));
  const Vector3 z = Normalised(d);
  *out = Matrix4{};
  const float xs[3] = {x.x, x.y, x.z};
  const float ys[3] = {y.x, y.y, y.z};
  const float zs[3] = {z.x, z.y, z.z};
  for (int i = 0; i < 3; ++i) {
    out->m[i][0] = xs[i];
    out->m[i][1] = ys[i];
    out->m[i][2] = zs[i];
  }
  out->m[3][0] = -Dot(x, eye);
  out->m[3][1] = -Dot(y, eye);
  out->m[3][2] = -Dot(z, eye);
  out->m[3][3] = 1.0f;
  return 0;
}

int MakePerspectiveMatrix(Matrix4* out, float fieldOfView, float nearZ, float farZ, float aspect) {
  if (aspect < 0.0f) {
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    aspect = static_cast<float>(height) / static_cast<float>(width);
  }
  const float s = std::sin(fieldOfView * 0.5f);
  const float c = std::cos(fieldOfView * 0.5f);
  if (std::fabs(farZ - nearZ) < 0.01f || std::fabs(s) < 0.01f) return -1;
  *out = Matrix4{};
  out->m[0][0] = aspect * c / s;
  out->m[1][1] = c / s;
  out->m[2][2] = farZ / (farZ - nearZ);
  out->m[2][3] = 1.0f;
  out->m[3][2] = -(out->m[2][2] * nearZ);
  return 0;
}

int SetWorldMatrix(const Matrix4& matrix, int index) {
  gDrawState.world = matrix;
  if (HasDevice3D()) SetWorldMatrix3D(matrix, index);
  return 0;
}

int SetViewMatrix(const Matrix4& matrix) {
  gDrawState.view = matrix;
  if (HasDevice3D()) SetViewMatrix3D(matrix);
  return 0;
}

int SetProjectionMatrix(const Matrix4& matrix) {
  gDrawState.projection = matrix;
  if (HasDevice3D()) SetProjectionMatrix3D(matrix);
  return 0;
}
