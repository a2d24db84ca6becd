#pragma once
// Screenshots of the key screens, taken with GDI from the screen itself, so
// they show exactly what a user would see. Written as BMP; the suite's
// script turns them into PNG.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The folder the suite keeps its screenshots in (TESSALY_E2E_ARTIFACTS, a
// Windows path; "artifacts" in the current folder without it).
std::wstring ArtifactsFolder();

// The screen area that holds all these windows, with a margin, saved as
// NAME.bmp in the artifacts folder. False when nothing could be captured.
bool SaveScreenshot(const std::wstring& name, const std::vector<HWND>& windows);

// The pixels of a screen rectangle as they show now, row by row.
std::vector<COLORREF> GrabPixels(const RECT& r);
// How many of them are near white.
int LightPixels(const std::vector<COLORREF>& pixels);

}  // namespace e2e
