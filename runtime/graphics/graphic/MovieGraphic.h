#pragma once
// Graphics that show movies: the loader's way for a file no image reader
// takes, and the frame callback that brings a movie's frame into a 2D
// graphic.

struct MovieRecord;

// Opens the file as a movie and makes a graphic of its size that shows it:
// the graphic, or -1 (logged) when the file is missing, is no movie or no
// graphic can be made.
int LoadMovieGraphic(const char* name, int textureRequest);

// The frame callback of a 2D movie graphic; userData is the graphic handle.
// 0, or -1 when the graphic's surface is gone.
int UpdateMovieSurface2D(MovieRecord* movie, void* userData);
