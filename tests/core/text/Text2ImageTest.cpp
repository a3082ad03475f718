// 2D text and images: fields, no primitives, the anchor as bounding box.

#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoTranslation.h>

#include "TextTestSupport.h"

namespace {

using Text2ImageTest = TextTest;

void expectFieldNames(SoFieldContainer* node, std::initializer_list<const char*> names) {
    ASSERT_EQ(node->getNumFields(), static_cast<int>(names.size()));
    int i = 0;
    for (const char* name : names) {
        EXPECT_STREQ(node->getFieldNameAt(i), name);
        EXPECT_TRUE(node->getFieldAt(i++)->isDefault()) << name;
    }
}

// The world box of the scene under a translation to (1, 2, 3).
SbBox3f boxAtAnchor(SoSeparator* root, SoNode* shape) {
    auto* move = new SoTranslation;
    move->translation.setValue(SbVec3f(1, 2, 3));
    root->addChild(move);
    root->addChild(shape);
    SoGetBoundingBoxAction action;
    action.apply(root);
    return action.getBoundingBox();
}

TEST_F(Text2ImageTest, Text2HasItsFieldsAndDefaults) {
    auto* text = new SoText2;
    text->ref();
    expectFieldNames(text, {"string", "spacing", "justification"});
    ASSERT_EQ(text->string.getNum(), 1);
    EXPECT_EQ(text->string[0], "");
    EXPECT_FLOAT_EQ(text->spacing.getValue(), 1.0f);
    EXPECT_EQ(text->justification.getValue(), SoText2::LEFT);
    EXPECT_STREQ(text->justification.getName(SoText2::RIGHT), "RIGHT");
    EXPECT_TRUE(text->justification.setValue("CENTER"));
    EXPECT_EQ(text->justification.getValue(), 3);
    text->unref();
}

TEST_F(Text2ImageTest, Text2GeneratesNoPrimitivesAndBoxesItsOrigin) {
    addText<SoText2>({"Hello", "World"}, SoText2::CENTER);
    const Capture result = capture();
    EXPECT_TRUE(result.triangles.empty());
    EXPECT_TRUE(result.segments.empty());
    EXPECT_EQ(result.points, 0);
    root->removeAllChildren();
    const SbBox3f box = boxAtAnchor(root, new SoText2);
    EXPECT_EQ(box.getMin(), SbVec3f(1, 2, 3));
    EXPECT_EQ(box.getMax(), SbVec3f(1, 2, 3));
}

TEST_F(Text2ImageTest, ImageHasItsFieldsAndPublicAlignments) {
    auto* image = new SoImage;
    image->ref();
    expectFieldNames(image, {"image", "width", "height", "horAlignment", "vertAlignment"});
    EXPECT_EQ(image->width.getValue(), -1);
    EXPECT_EQ(image->height.getValue(), -1);
    EXPECT_EQ(image->horAlignment.getValue(), SoImage::LEFT);
    EXPECT_EQ(image->vertAlignment.getValue(), SoImage::BOTTOM);
    EXPECT_EQ(image->image.getSize(), SbVec2s(0, 0));
    int value = -1;
    EXPECT_TRUE(image->horAlignment.findValue("RIGHT", value));
    EXPECT_EQ(value, SoImage::RIGHT);
    EXPECT_TRUE(image->vertAlignment.findValue("HALF", value));
    EXPECT_EQ(value, SoImage::HALF);
    EXPECT_TRUE(image->vertAlignment.findValue("TOP", value));
    EXPECT_EQ(value, 2);
    image->unref();
}

TEST_F(Text2ImageTest, ImageGeneratesNoPrimitivesAndBoxesItsAnchor) {
    auto* image = new SoImage;
    const unsigned char pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    image->image.setValue(SbVec2s(2, 2), 3, pixels);
    image->horAlignment.setValue(SoImage::CENTER);
    root->addChild(image);
    const Capture result = capture();
    EXPECT_TRUE(result.triangles.empty());
    EXPECT_EQ(result.points, 0);
    root->removeAllChildren();
    const SbBox3f box = boxAtAnchor(root, image = new SoImage);
    EXPECT_EQ(box.getMin(), SbVec3f(1, 2, 3));
    EXPECT_EQ(box.getMax(), SbVec3f(1, 2, 3));
    // An empty image is still a valid node with an anchor.
    image->image.setValue(SbVec2s(0, 0), 0, nullptr);
    SoGetBoundingBoxAction action;
    action.apply(root);
    EXPECT_EQ(action.getBoundingBox().getMin(), SbVec3f(1, 2, 3));
}

}  // namespace
