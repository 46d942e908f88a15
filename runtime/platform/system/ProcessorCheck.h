#pragma once
// What the processor offers the layer: the identification instruction, the
// time-stamp counter and the MMX, SSE and SSE2 instruction sets.

struct ProcessorFacts {
  // 0 no identification instruction, 1 identified, 3 MMX, 4 MMX and SSE,
  // 5 MMX, SSE and SSE2.
  int level;
  int hasTimeStampCounter;
  char vendor[13];
  char brand[49];  // empty when the processor gives none
};

ProcessorFacts ProbeProcessor();

// Measures the time-stamp counter against 100 ms of the tick; stores counts
// per second and the clock in MHz, and logs the speed.
void MeasureProcessorSpeed();

// Sets the instruction-set flags from the level and logs the facts.
void ReportProcessor(const ProcessorFacts& facts);
