// Performance graph: per cached file, the kilobytes transferred with and
// without the cache against the file's size, drawn off-screen and copied to
// the canvas in one step.
#pragma once
#include <windows.h>

#include <cstdint>

#include "panel/graph_scale.h"

INT_PTR CALLBACK PerformanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Scans the cache folder and hands back a sorted array (free() it) and its
// count; a count of 0 means no data and no array.
void CollectGraphPoints(GraphPoint** points, int* count);

void DrawPerformanceGraph(const DRAWITEMSTRUCT* drawItem);
