#pragma once

#include <PlotWerk/SoHPGLVectorOutput.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>

#include "plotwerk/support/OpenedBackend.h"

/// The HP-GL/2 backend under test.
using HPGLTestAction = OpenedBackend<SoVectorizeHPGLAction>;
