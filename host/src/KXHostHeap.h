// The host process's heap, prepared for large grids.
#pragma once

// Asks the C library to grow the heap in large steps and the kernel to back the first step with huge
// pages, so that filling a grid of tens of thousands of rows does not fault its memory in one small
// page at a time. Called once, first thing in main. Answers whether huge pages were asked for; where the
// allocator is not the C library's own (a sanitizer's, a memory checker's) or refuses, nothing changes
// and the answer is false.
bool KXPrepareHostHeap();
