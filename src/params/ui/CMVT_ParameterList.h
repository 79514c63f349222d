#pragma once

#include "params/ui/CMVT_ParamToolBar.h"

#include <QPointer>
#include <QScrollArea>

#include <cstdint>
#include <string>
#include <vector>

class CMVT_ParamBitmap;
class CMVT_ParamBoolean;
class CMVT_ParamButton;
class CMVT_ParamColor;
class CMVT_ParamFilename;
class CMVT_ParamFilenames;
class CMVT_ParamFloat;
class CMVT_ParamInfo;
class CMVT_ParamInteger;
class CMVT_ParamText;
class CMVT_ParamTitle;
class CParameterValues;
class CResourceHolder;
class QVBoxLayout;

// A parameter sheet: a vertical, scrolling list of parameter items in the
// dialog colours. Tools add the items they keep as members (the sheet only
// shows them); the add... operations create items the sheet owns, set their
// level, name, label and value in that order, and such items are found by
// name. Every item's notification comes out of itemChanged().
class CMVT_ParameterList : public QScrollArea {
    Q_OBJECT
public:
    explicit CMVT_ParameterList(QWidget* parent = nullptr);

    void addItem(CMVT_Parameter* item);
    int count() const;
    CMVT_Parameter* item(int i) const;
    // The first item whose name matches, case ignored; nullptr if none.
    CMVT_Parameter* find(const std::string& name) const;
    template <class T> T* findAs(const std::string& name) const { return qobject_cast<T*>(find(name)); }

    CMVT_ParamTitle* addTitle(int level, const std::string& name, const std::string& label);
    CMVT_ParamInfo* addInfo(int level, const std::string& name, const std::string& label);
    CMVT_ParamButton* addButton(int level, const std::string& name, const std::string& label);
    CMVT_ParamToolBar* addToolBar(int level, const std::string& name, const std::vector<CMVT_ParamToolBar::Button>& buttons);
    CMVT_ParamBoolean* addBoolean(int level, const std::string& name, const std::string& label, bool value);
    CMVT_ParamInteger* addInteger(int level, const std::string& name, const std::string& label, std::int64_t minimum,
                                  std::int64_t maximum, std::int64_t value);
    CMVT_ParamFloat* addFloat(int level, const std::string& name, const std::string& label, double minimum,
                              double maximum, double value);
    CMVT_ParamText* addText(int level, const std::string& name, const std::string& label, const std::string& value,
                            bool multiLine = false);
    CMVT_ParamFilename* addFilename(int level, const std::string& name, const std::string& label, int mode,
                                    const std::string& filter, const std::string& path);
    CMVT_ParamFilenames* addFilenames(int level, const std::string& name, const std::string& label,
                                      const std::string& list);
    CMVT_ParamColor* addColor(int level, const std::string& name, const std::string& label, std::uint32_t rgb);
    CMVT_ParamBitmap* addBitmap(int level, const std::string& name, const std::string& label,
                                const CResourceHolder* holder, const std::string& bitmap);

    // Every item back to the value it was built with.
    void resetToDefaults();

    // The values by item name (the label without "&" for an item without a
    // name); applying sets the items named, the others keep theirs.
    CParameterValues values() const;
    void applyValues(const CParameterValues& values);
    // Between runs the values are kept in the program's settings under the
    // tool's title; recall is false when nothing was kept for it.
    void rememberValues(const std::string& tool) const;
    bool recallValues(const std::string& tool);
    // Keeps the remembered values in this file instead (tests).
    static void setMemoryFile(const QString& iniPath);

    // The item holding a widget (the focused control, say), or nullptr.
    CMVT_Parameter* itemContaining(const QWidget* widget) const;

signals:
    void itemChanged(CMVT_Parameter* item);
    // A tool-bar item's button was pressed.
    void commandTriggered(const QString& command);

private:
    template <class T> T* make(int level, const std::string& name, const std::string& label);
    void applyColors();

    QWidget* m_body;
    QVBoxLayout* m_layout;
    std::vector<QPointer<CMVT_Parameter>> m_items;
};
