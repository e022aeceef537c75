#pragma once

// How the camera sees the scene in the frame just drawn: the viewer's own modelview
// matrix (camera and the scene's half turn), projection and viewport, read back from the
// current GL context. Draw the first frame of a loaded scene first to have the camera's
// start.
class StartView {
public:
    static StartView OfLastFrame();

    // How far the scene point (x, y, z) is from the eye.
    double Distance(double x, double y, double z) const;
    // How many pixels `size` units span `distance` units from the eye, facing it.
    double Pixels(double size, double distance) const;

private:
    float modelview[16] = {};
    // Pixels per unit at one unit from the eye: the larger of the two axes.
    double magnification = 0;
};
