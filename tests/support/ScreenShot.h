// What the screen shows, for the window tests: a rectangle of it grabbed at once, counted by
// colour, and kept as a PNG file for review.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

// The folder screenshots of the window tests go to (with a trailing separator), made on demand.
std::string ScreenshotFolder();

// The screen's pixels of rect (screen coordinates) as an RGB PNG file at path; the folder is made
// when it is missing. False when nothing could be written.
bool SaveScreenPng(const RECT& rect, const std::string& path);

// The screen's pixels of a rectangle at the moment of construction.
class ScreenCapture {
public:
    explicit ScreenCapture(const RECT& screenRect);

    const RECT& Rect() const { return m_rect; }
    // The colour at a screen point inside the rectangle; CLR_INVALID outside.
    COLORREF At(POINT screen) const;
    // How many pixels of area (screen coordinates, cut to the rectangle) are within tolerance of
    // colour in each of red, green and blue.
    int Count(const RECT& area, COLORREF colour, int tolerance = 0) const;
    bool SavePng(const std::string& path) const;

private:
    RECT m_rect;
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels; // rows top-down
};
