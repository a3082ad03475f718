#include "views/PostScriptTexts.h"

#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoText2.h>

namespace {

void toLatin1(SoMFString& strings) {
    for (int i = 0; i < strings.getNum(); ++i)
        if (strings[i].isUnicode()) strings.set1Value(i, PostScriptTexts::inLatin1(strings[i]));
}

}  // namespace

SbString PostScriptTexts::inLatin1(const SbString& text) {
    if (!text.isUnicode()) return text;
    SoDebugError::postWarning("PostScriptTexts::inLatin1",
                              "Characters beyond Latin-1 print as \"?\" in PostScript; PDF, SVG "
                              "and EMF print them");
    return SbString::fromLatin1(text.toLatin1());
}

void PostScriptTexts::keepToLatin1(SoNode* scene) {
    for (const SoType type : {SoText2::getClassTypeId(), SoAnnoText3::getClassTypeId()}) {
        SoSearchAction search;
        search.setType(type);
        search.setInterest(SoSearchAction::ALL);
        search.apply(scene);
        const SoPathList& paths = search.getPaths();
        for (int i = 0; i < paths.getLength(); ++i) {
            SoNode* text = paths[i]->getTail();
            toLatin1(type == SoText2::getClassTypeId() ? static_cast<SoText2*>(text)->string
                                                       : static_cast<SoAnnoText3*>(text)->string);
        }
    }
}
