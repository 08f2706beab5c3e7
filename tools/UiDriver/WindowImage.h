// WindowImage.h: what the screen shows of one window, as RGB pixels, and its PNG file.
#ifndef UIDRIVER_WINDOW_IMAGE_H
#define UIDRIVER_WINDOW_IMAGE_H

#include <windows.h>

#include <vector>

class WindowImage
{
public:
    WindowImage();
    virtual ~WindowImage();

    WindowImage(const WindowImage&) = delete;
    WindowImage& operator=(const WindowImage&) = delete;

    // Copies the screen inside the window's rectangle (the window may belong to another
    // process); false when the window has no area or the screen cannot be read.
    bool capture(HWND window);
    // Writes the last capture as a PNG file; false when there is none or writing fails.
    bool savePng(const char* path) const;

    int getWidth() const;
    int getHeight() const;
    // Rows top-down, 3 bytes (R, G, B) per pixel.
    const std::vector<unsigned char>& getPixels() const;
    // The number of distinct colours, counted up to limit.
    int countColours(int limit) const;

private:
    int width;
    int height;
    std::vector<unsigned char> pixels;
};

#endif
