// Replays scene items as legacy OpenGL calls (glBegin/glEnd), meant to be
// compiled into a display list. Circles, discs, cylinders and cones use 40
// segments. Blending and the alpha mask are the caller's.
#pragma once

#include "views/scene_items.h"

class QOpenGLFunctions_1_1;

namespace korvel {

void PaintSceneList(QOpenGLFunctions_1_1& gl, const TSceneList& list);

// Single items, for callers that draw outside a list.
void PaintBlock(QOpenGLFunctions_1_1& gl, const TBlock& block);
void PaintArrow(QOpenGLFunctions_1_1& gl, const TArrow& arrow);
void PaintArc(QOpenGLFunctions_1_1& gl, const TArc& arc);
void PaintLine(QOpenGLFunctions_1_1& gl, const TLine& line);
void PaintPyramid(QOpenGLFunctions_1_1& gl, const TPyramid& pyramid);

}  // namespace korvel
