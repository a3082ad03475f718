#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbColor.h>

class SoNode;

/// The current material: six arrays, each set on its own (a base colour node changes the
/// diffuse colours only). An index beyond an array's end uses its last value.
class SoMaterialElement : public SoElement {
    SO_ELEMENT_HEADER(SoMaterialElement);

  public:
    void init(SoState* state) override;
    static void setAmbient(SoState* state, SoNode* node, int num, const SbColor* colors);
    static void setDiffuse(SoState* state, SoNode* node, int num, const SbColor* colors);
    static void setSpecular(SoState* state, SoNode* node, int num, const SbColor* colors);
    static void setEmissive(SoState* state, SoNode* node, int num, const SbColor* colors);
    static void setShininess(SoState* state, SoNode* node, int num, const float* values);
    static void setTransparency(SoState* state, SoNode* node, int num, const float* values);
    static const SoMaterialElement* getInstance(SoState* state);

    const SbColor& getAmbient(int index) const { return pick(ambient_, index); }
    const SbColor& getDiffuse(int index) const { return pick(diffuse_, index); }
    const SbColor& getSpecular(int index) const { return pick(specular_, index); }
    const SbColor& getEmissive(int index) const { return pick(emissive_, index); }
    float getShininess(int index) const { return pick(shininess_, index); }
    float getTransparency(int index) const { return pick(transparency_, index); }
    int getNumDiffuse() const { return diffuse_.num; }
    int getNumTransparency() const { return transparency_.num; }

  private:
    template <class T>
    struct Values {
        int num;
        const T* values;
    };
    template <class T>
    static const T& pick(const Values<T>& v, int index) {
        if (index >= v.num) index = v.num - 1;
        return v.values[index < 0 ? 0 : index];
    }
    static SoMaterialElement* writable(SoState* state);

    Values<SbColor> ambient_{}, diffuse_{}, specular_{}, emissive_{};
    Values<float> shininess_{}, transparency_{};
};
