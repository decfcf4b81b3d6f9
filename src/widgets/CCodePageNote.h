#pragma once

#include <QLabel>

// Under a name field: shown while the typed name holds characters that
// Windows-1251, the code page of the shelf file's names, lacks, which are
// stored as "?". Nothing is lost without the user being told.
class CCodePageNote : public QLabel {
    Q_OBJECT

public:
    explicit CCodePageNote(QWidget* parent);

    void Follow(const QString& typed);
};
