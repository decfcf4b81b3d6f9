#include "widgets/CCodePageNote.h"

#include "base/CodePage.h"
#include "base/ProgramTexts.h"
#include "base/QtText.h"

CCodePageNote::CCodePageNote(QWidget* parent) : QLabel(ProgramText(kNameLosesCharacters), parent) {
    setObjectName("CodePageNote");
    setWordWrap(true);
    hide();
}

void CCodePageNote::Follow(const QString& typed) { setVisible(!FitsCp1251(FromQString(typed))); }
