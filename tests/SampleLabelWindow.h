// SampleLabelWindow.h: a top-level window of the test's own, holding the uninstall dialog's status labels.
#ifndef TESTS_SAMPLE_LABEL_WINDOW_H
#define TESTS_SAMPLE_LABEL_WINDOW_H

#include <windows.h>

#include <string>

// The ids the labels get: 1029 to 1034, the five status labels and, between them, 1033.
extern const int sampleLabelFirstId;
extern const int sampleLabelLastId;
// The text every label starts with.
extern const char* const sampleLabelInitialText;

class SampleLabelWindow
{
public:
    // Creates the hidden window and one STATIC child per id, each with sampleLabelInitialText.
    SampleLabelWindow();
    // Destroys the window and its labels.
    virtual ~SampleLabelWindow();

    SampleLabelWindow(const SampleLabelWindow&) = delete;
    SampleLabelWindow& operator=(const SampleLabelWindow&) = delete;

    // The window, null when it could not be created.
    HWND getWindow() const { return window; }
    // True when the window and every label exist.
    bool isComplete() const { return complete; }
    // The label's text read back with GetDlgItemTextA; "<missing>" when there is no such label.
    std::string labelText(int id) const;

private:
    HWND window;
    bool complete;
};

#endif
