#include "views/Latin1Texts.h"

#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoText2.h>

namespace {

bool beyondIn(SoMFString& strings, bool convert) {
    bool beyond = false;
    for (int i = 0; i < strings.getNum(); ++i) {
        if (!strings[i].isUnicode()) continue;
        beyond = true;
        if (convert) strings.set1Value(i, Latin1Texts::of(strings[i]));
    }
    return beyond;
}

}  // namespace

SbString Latin1Texts::of(const SbString& text) {
    return text.isUnicode() ? SbString::fromLatin1(text.toLatin1()) : text;
}

bool Latin1Texts::beyond(SoNode* scene, bool convert) {
    bool beyond = false;
    for (const SoType type : {SoText2::getClassTypeId(), SoAnnoText3::getClassTypeId()}) {
        SoSearchAction search;
        search.setType(type);
        search.setInterest(SoSearchAction::ALL);
        search.apply(scene);
        const SoPathList& paths = search.getPaths();
        for (int i = 0; i < paths.getLength(); ++i) {
            SoNode* text = paths[i]->getTail();
            beyond = beyondIn(type == SoText2::getClassTypeId()
                                  ? static_cast<SoText2*>(text)->string
                                  : static_cast<SoAnnoText3*>(text)->string,
                              convert) ||
                     beyond;
        }
    }
    return beyond;
}
