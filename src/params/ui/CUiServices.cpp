#include "params/ui/CUiServices.h"

#include "core/IPrompter.h"
#include "params/CDialogFolders.h"
#include "params/ui/CValuePromptDialog.h"
#include "params/ui/FileDialogLayout.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMap>
#include <QMessageBox>
#include <QStringList>

namespace {
class CMessageBoxPrompter : public IPrompter {
public:
    Answer ask(const std::string& text, Buttons buttons, Icon icon) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(CUiServices::messageTitle());
        box.setText(QString::fromStdString(text));
        switch (icon) {
        case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::None: break;
        }
        switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Ok: return Answer::Ok;
        default: return Answer::Cancel;
        }
    }
};

class CQtFileChooser : public IFileChooser {
public:
    std::vector<std::string> chooseFiles(QWidget* parent, const Request& request) override
    {
        const QString filter = CUiServices::toQtFilter(request.filter);
        QFileDialog dialog(parent, QString::fromStdString(request.title));
        dialog.setNameFilter(filter);
        const QStringList filters = dialog.nameFilters();
        // The filter chosen last is offered first next time.
        const QString remembered = m_lastFilter.value(filter);
        if (!remembered.isEmpty() && filters.contains(remembered))
            dialog.selectNameFilter(remembered);
        if (request.save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        }
        const QString title = QString::fromStdString(request.title);
        const QFileInfo start(
            CUiServices::dialogFolders().startName(title, QString::fromStdString(request.startName)));
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
        fitFileDialog(dialog);
        std::vector<std::string> out;
        if (dialog.exec() != QDialog::Accepted)
            return out;
        m_lastFilter.insert(filter, dialog.selectedNameFilter());
        if (!dialog.selectedFiles().isEmpty())
            CUiServices::dialogFolders().remember(title, dialog.selectedFiles().front());
        for (const QString& name : dialog.selectedFiles())
            out.push_back(name.toStdString());
        return out;
    }

    std::string chooseFolder(QWidget* parent, const std::string& title, const std::string& start) override
    {
        const QString name = QString::fromStdString(title);
        const QString from = start.empty() ? CUiServices::dialogFolders().startFolder(name) : QString::fromStdString(start);
        const QString chosen = QFileDialog::getExistingDirectory(parent, name, from);
        CUiServices::dialogFolders().remember(name, chosen);
        return chosen.toStdString();
    }

private:
    QMap<QString, QString> m_lastFilter;
};

class CQtColorChooser : public IColorChooser {
public:
    bool chooseColor(QWidget* parent, std::uint32_t& rgb) override
    {
        const QColor start(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
        const QColor chosen = QColorDialog::getColor(start, parent);
        if (!chosen.isValid())
            return false;
        rgb = static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8)
            | (static_cast<std::uint32_t>(chosen.blue()) << 16);
        return true;
    }
};

class CDialogValuePrompter : public IValuePrompter {
public:
    bool promptValue(QWidget* parent, const std::string& title, const std::string& prompt, std::string& value,
                     bool multiLine) override
    {
        CValuePromptDialog dialog(title, prompt, value, multiLine, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        value = dialog.value();
        return true;
    }
};

IPrompter* g_prompter = nullptr;
IFileChooser* g_fileChooser = nullptr;
IColorChooser* g_colorChooser = nullptr;
IValuePrompter* g_valuePrompter = nullptr;
CAudioPlayer* g_audioPlayer = nullptr;
std::function<QIcon(const std::string&)> g_toolBarIcons;
QString g_messageTitle;
std::function<void(const QString&)> g_statusLine;
} // namespace

IPrompter& CUiServices::prompter()
{
    static CMessageBoxPrompter boxes;
    return g_prompter ? *g_prompter : boxes;
}

CDialogFolders& CUiServices::dialogFolders()
{
    static CDialogFolders folders;
    return folders;
}

IFileChooser& CUiServices::fileChooser()
{
    static CQtFileChooser dialogs;
    return g_fileChooser ? *g_fileChooser : dialogs;
}

IColorChooser& CUiServices::colorChooser()
{
    static CQtColorChooser dialogs;
    return g_colorChooser ? *g_colorChooser : dialogs;
}

IValuePrompter& CUiServices::valuePrompter()
{
    static CDialogValuePrompter dialogs;
    return g_valuePrompter ? *g_valuePrompter : dialogs;
}

void CUiServices::setPrompter(IPrompter* prompter) { g_prompter = prompter; }
void CUiServices::setFileChooser(IFileChooser* chooser) { g_fileChooser = chooser; }
void CUiServices::setColorChooser(IColorChooser* chooser) { g_colorChooser = chooser; }
void CUiServices::setValuePrompter(IValuePrompter* prompter) { g_valuePrompter = prompter; }

CAudioPlayer* CUiServices::audioPlayer() { return g_audioPlayer; }
void CUiServices::setAudioPlayer(CAudioPlayer* player) { g_audioPlayer = player; }
QIcon CUiServices::toolBarIcon(const std::string& id) { return g_toolBarIcons ? g_toolBarIcons(id) : QIcon(); }
void CUiServices::setToolBarIcons(std::function<QIcon(const std::string&)> icons) { g_toolBarIcons = std::move(icons); }

QString CUiServices::messageTitle()
{
    return g_messageTitle.isEmpty() ? QApplication::applicationName() : g_messageTitle;
}

void CUiServices::setMessageTitle(const QString& title) { g_messageTitle = title; }

void CUiServices::showStatus(const std::string& text)
{
    if (g_statusLine)
        g_statusLine(QString::fromStdString(text));
}

void CUiServices::setStatusLine(std::function<void(const QString&)> line) { g_statusLine = std::move(line); }

QString CUiServices::toQtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('\n'));
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i];
        QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
        if (description.isEmpty() && pattern.isEmpty())
            break;
        // A description alone carries its patterns in its parentheses
        // ("Game Resources Files (*.mrc)"): the list must not come out empty.
        if (pattern.isEmpty()) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open < 0 || !description.endsWith(QLatin1Char(')')))
                break;
            pattern = description.mid(open + 1, description.size() - open - 2);
        }
        // The toolkit reads the patterns from the last parentheses, separated
        // by blanks; the stored form keeps them in the second string.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        QString patterns = pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return out.join(QStringLiteral(";;"));
}
