#pragma once
// Copies between the display's surfaces.

struct HostSurface;
struct HostRect;

// Copies a rectangle of the source to (x, y) of the destination; method -1
// takes the one chosen when the screen was set up. 0, or -1 when the copy
// fails.
int CopySurfaceRect(HostSurface* destination, HostSurface* source, int x, int y, const HostRect& rect, int method);
// Measures the copies on the new screen surfaces and chooses the method.
void ChooseSurfaceCopyMethod();
