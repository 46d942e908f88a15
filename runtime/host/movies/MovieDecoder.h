#pragma once
// The decode thread of a graph. It reads packets ahead, decodes pictures
// into the frame stock while it has room and sound into the renderer while
// the ring has room, and serves seeks: back to the key frame before the
// target, then decoding on, showing nothing before the target.
//
// A stream that waits for packets while the other's queue is full goes
// without: its packets beyond the limit are dropped (pictures then wait for
// the next key frame), so memory stays bounded whatever the interleaving.

struct HostMovieGraph;
struct MovieDecoder;

// Opens the decoders of the graph's file: the first video stream that is
// not a cover picture and, when withAudio, the first sound stream with the
// renderer for it. Fills the graph's video format and stop position. Null
// when a video stream has no decoder or memory runs out.
MovieDecoder* CreateMovieDecoder(HostMovieGraph& graph, bool withAudio);
void DestroyMovieDecoder(MovieDecoder* decoder);

// The thread's function; its argument is the graph. It ends once the
// graph's stop request is set.
void RunMovieDecoder(void* graph);
