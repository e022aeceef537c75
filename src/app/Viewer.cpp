#include "app/Viewer.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "common/AnimationClock.h"
#include "app/Camera.h"
#include "factory/ObjectArray.h"
#include "log/HtmlLog.h"
#include "objects/IGraphicObject.h"

void DrawObjects(const ObjectList& list) {
    if (list.busy) return;
    for (std::size_t i = 0; i < list.objects.Count(); ++i) {
        glPushMatrix();
        list.objects[i]->Draw();
        glPopMatrix();
    }
}

Viewer::Viewer(Camera& camera, AnimationClock& clock, HtmlLog& log, ObjectList objects,
               SceneLoader loadScene, SceneReleaser releaseScene)
    : camera(camera),
      clock(clock),
      log(log),
      objects(objects),
      loadScene(std::move(loadScene)),
      releaseScene(std::move(releaseScene)) {}

int Viewer::Init() {
    camera.yaw = -150.0f;
    camera.position = {450.0f, 300.0f, 3000.0f};
    log.WriteTitle("init");

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearDepth(1.0);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat specular[] = {0.8f, 0.5f, 0.5f, 0.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 120.0f);
    return LoadScene();
}

int Viewer::Reload(const std::vector<std::string>& changedFiles) {
    log.WriteTitle("Reload");
    for (const std::string& file : changedFiles) log.WriteMessage("file changed:\t" + file);
    log.WriteMessage("reloading at:\t" + log.TimeStamp());
    if (releaseScene) releaseScene();
    return LoadScene();
}

int Viewer::LoadScene() {
    const int before = log.ErrorCount();
    try {
        if (loadScene) loadScene();
    } catch (...) {
        log.WriteError(Problem::Followup("Scene.xml", "In scene Load() method."));
    }
    return log.ErrorCount() - before;
}

void Viewer::Display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    camera.ApplyView();
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    DrawObjects(objects);
    glFlush();
}

void Viewer::Reshape(int width, int height) {
    if (width > 0 && height > 0) aspect = static_cast<double>(width) / height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspect, 0.5, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    windowWidth = width;
    windowHeight = height;
}

void Viewer::Keyboard(unsigned char key) {
    switch (key) {
        case ' ': clock.TogglePause(); break;
        case 'w': camera.ChangeSpeed(0.1f); break;
        case 's': camera.ChangeSpeed(-0.1f); break;
        default: break;
    }
}

void Viewer::SpecialKeys(int key) {
    switch (key) {
        case GLUT_KEY_LEFT: camera.TurnYaw(-0.2f); break;
        case GLUT_KEY_UP: camera.TurnPitch(0.2f); break;
        case GLUT_KEY_RIGHT: camera.TurnYaw(0.2f); break;
        case GLUT_KEY_DOWN: camera.TurnPitch(-0.2f); break;
        default: break;
    }
}
