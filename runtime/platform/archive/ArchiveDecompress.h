#pragma once
// The LZ code of compressed archive entries. A 9-byte head {uint32
// uncompressed size, uint32 packed size counting the head, escape byte E}
// is followed by the code: a byte other than E is a literal; E E is a
// literal E; E c (c lowered by 1 when above E) is a match of length
// (c >> 3) + 4, plus (next byte << 5) when bit 2 of c is set, whose distance
// (minus 1) follows in 1, 2 or 3 bytes as bits 0-1 of c say (0, 1, 2).

#include <cstddef>
#include <cstdint>

constexpr size_t kArchiveCodeHeadSize = 9;

// The uncompressed size the head states, or -1 when there is no head.
int64_t ArchiveUncompressedSize(const uint8_t* source, size_t sourceSize);

// Decodes into exactly the stated uncompressed size. Returns that size, or -1
// when the data is damaged: a packed size beyond the source, a code cut off,
// a match reaching before the output's start or past its stated size, the
// distance size 3, or fewer bytes than stated at the code's end.
int64_t DecompressArchiveData(const uint8_t* source, size_t sourceSize, uint8_t* destination,
                              size_t destinationSize);

// The same checks without writing anything, in time linear in the code:
// the stated size when DecompressArchiveData would succeed, else -1.
int64_t CheckArchiveCode(const uint8_t* source, size_t sourceSize);
