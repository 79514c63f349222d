#pragma once

#include <QDialog>

#include <string>

class CMVT_ParameterList;
class CQuillopDoc;

// "Document Properties": the document's ID, Comments, password and game
// speed as a parameter sheet. Accepting writes them through apply().
class CDocumentPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Document Properties";
    static constexpr const char* kCommentsNote =
        "Please note that comments will also appear clearly uncrypted in the top of resources file.";

    explicit CDocumentPropertiesDialog(CQuillopDoc& document, QWidget* parent = nullptr);

    CMVT_ParameterList* sheet() const { return m_sheet; }
    // Writes the sheet into the document (what OK does).
    int apply();

private:
    CQuillopDoc& m_document;
    CMVT_ParameterList* m_sheet;
};
