#pragma once

// The one way into OpenGL ES 2.0 and the extensions the image framework names (BGRA pixel data).
#include <GLES2/gl2.h>
#include <GLES2/gl2ext.h>
