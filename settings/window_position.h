#pragma once
// Where the main window opens: the stored edge, pulled back onto the work
// area. One axis at a time; the left and the top rules differ by one pixel.

namespace norv {

struct EdgeMetrics {
  int windowSize = 0;  // the main window's width (or height)
  int border = 0;      // B: edge plus fixed-frame width (or height)
  int workSize = 0;    // A: the work area's width (or height)
};

// The default of an absent position: centred on the work area.
int CentredEdge(const EdgeMetrics& metrics);

int PlaceLeftEdge(int stored, const EdgeMetrics& metrics);
int PlaceTopEdge(int stored, const EdgeMetrics& metrics);

}  // namespace norv
