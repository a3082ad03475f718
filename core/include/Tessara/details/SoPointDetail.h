#pragma once

#include <Tessara/details/SoDetail.h>
#include <Tessara/details/SoSubDetail.h>

/// One vertex of a shape: the indices it was built from.
class SoPointDetail : public SoDetail {
    SO_DETAIL_HEADER(SoPointDetail);

  public:
    SoDetail* copy() const override { return new SoPointDetail(*this); }

    int getCoordinateIndex() const { return coordinateIndex_; }
    int getMaterialIndex() const { return materialIndex_; }
    int getNormalIndex() const { return normalIndex_; }
    int getTextureCoordIndex() const { return textureCoordIndex_; }
    void setCoordinateIndex(int i) { coordinateIndex_ = i; }
    void setMaterialIndex(int i) { materialIndex_ = i; }
    void setNormalIndex(int i) { normalIndex_ = i; }
    void setTextureCoordIndex(int i) { textureCoordIndex_ = i; }

  private:
    int coordinateIndex_ = 0;
    int materialIndex_ = 0;
    int normalIndex_ = 0;
    int textureCoordIndex_ = 0;
};
