#pragma once
// The sound device's manual clock as the movie tests drive it.

#include <cstdint>

struct HostMovieGraph;

// Mixes the frames and gives the loudest sample among them.
int MixLoudest(uint32_t frames);
// Mixes a hundredth of a second at a time until the graph's sound plays and
// its clock moves (its decode thread writes ahead of the mixer first), or
// five seconds have gone. The loudest sample mixed.
int MixUntilMovieSoundStarts(HostMovieGraph* graph);
