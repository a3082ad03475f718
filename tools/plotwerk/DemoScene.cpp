#include "DemoScene.h"

const char* demoSceneText() {
    return R"(#Tessara V1.0 ascii
Separator {
  PerspectiveCamera { position 0 1.5 9  orientation 1 0 0 -0.16  heightAngle 0.7  nearDistance 4  farDistance 14 }
  DirectionalLight { direction -0.5 -1 -1 }
  PointLight { location 3 3 3  intensity 0.4 }
  Separator {
    Translation { translation -2.5 0 0 }
    Material { diffuseColor 0.8 0.2 0.2  specularColor 0.5 0.5 0.5  shininess 0.4 }
    Cube { }
  }
  Separator {
    Material { diffuseColor 0.2 0.6 0.9 }
    Complexity { value 0.6 }
    Sphere { radius 1.2 }
  }
  Separator {
    Translation { translation 2.5 0 0 }
    Material { diffuseColor 0.3 0.8 0.3 }
    Cone { bottomRadius 1  height 2 }
  }
  Separator {
    Translation { translation 0 -1.8 0 }
    BaseColor { rgb 0 0 0 }
    DrawStyle { lineWidth 2  linePattern 0xF0F0 }
    Coordinate3 { point [ -4 0 0, -2 0.4 0, 0 0 0, 2 0.4 0, 4 0 0 ] }
    LineSet { numVertices 5 }
    MarkerSet { markerIndex [ 0 ] }
  }
  Separator {
    Translation { translation -3.5 2.2 0 }
    BaseColor { rgb 0.1 0.1 0.1 }
    Font { name "Helvetica"  size 14 }
    Text2 { string [ "PlotWerk demo" ] }
  }
}
)";
}
