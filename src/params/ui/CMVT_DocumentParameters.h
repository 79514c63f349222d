#pragma once

#include <QObject>
#include <QPointer>

class CMVT_ParametersDocument;

// The document side of a tool window. A tool keeps its values itself, so
// this only answers for it: its title and modified flag.
class CMVT_DocumentParameters : public QObject {
    Q_OBJECT
public:
    explicit CMVT_DocumentParameters(CMVT_ParametersDocument* tool, QObject* parent = nullptr);

    CMVT_ParametersDocument* tool() const { return m_tool.data(); }
    QString title() const;
    bool isModified() const;

private:
    QPointer<CMVT_ParametersDocument> m_tool;
};
