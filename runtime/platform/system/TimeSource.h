#pragma once
// Which clock times the layer: the high-resolution counter when the machine
// has one and it updates at least as often as the millisecond tick.

// Reads the counter's frequency; the counter is the time source when it has
// one.
void ReadPerformanceFrequency();

// Watches both clocks (pumping messages meanwhile) until one of them has
// changed 60 times or a second has passed, keeps the one that changed more
// often and logs the outcome. Nothing without a counter.
void ChooseTimeSource();
