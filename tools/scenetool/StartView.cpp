#include "StartView.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

StartView StartView::OfLastFrame() {
    StartView view;
    GLfloat projection[16];
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, view.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // A perspective projection scales x and y by these before the division by depth;
    // normalized coordinates span 2 across the viewport.
    view.magnification = std::max(std::fabs(projection[0]) * viewport[2] / 2.0,
                                  std::fabs(projection[5]) * viewport[3] / 2.0);
    return view;
}

double StartView::Distance(double x, double y, double z) const {
    const float* m = modelview;  // column-major
    const double eye[3] = {m[0] * x + m[4] * y + m[8] * z + m[12],
                           m[1] * x + m[5] * y + m[9] * z + m[13],
                           m[2] * x + m[6] * y + m[10] * z + m[14]};
    return std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
}

double StartView::Pixels(double size, double distance) const {
    return size * magnification / distance;
}
