#pragma once
// The project file open and save dialog: a few properties and one Show().
// Built on QFileDialog; the option bits the callers pass are turned into the
// dialog's own behaviours:
//   open (file must exist 4096): only an existing file in an existing folder
//   save (overwrite prompt 2, path must exist 2048): the folder must exist,
//        an existing file is confirmed before it is replaced, and a name typed
//        without extension gains DefaultExt.
// Only a confirmed dialog changes FileName and FileTitle. The dialog opens
// with the detailed list, wide enough to show size, type and date whole.

#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>

class QFileDialog;
class QWidget;

namespace ormavex::gui {

class CFileDialog {
public:
    static constexpr std::int32_t OFN_OVERWRITEPROMPT = 2;
    static constexpr std::int32_t OFN_HIDEREADONLY = 4;
    static constexpr std::int32_t OFN_PATHMUSTEXIST = 2048;
    static constexpr std::int32_t OFN_FILEMUSTEXIST = 4096;

    std::string DialogTitle;
    std::string DefaultExt; ///< ".kvt"
    std::string Filter;     ///< "description|pattern|description|pattern..."
    std::int32_t FilterIndex = 1;
    std::int32_t Flags = 0;
    QWidget* hWndParent = nullptr;
    std::string InitialDir;
    std::string FileName;           ///< in: proposed name or path; out: the chosen full path
    std::string FileTitle;          ///< out: the chosen name without folder
    std::int32_t MaxFileSize = 260; ///< kept only

    /// Shows the open (`fOpen` true) or save dialog modally; true when the
    /// user confirmed a file.
    bool Show(bool fOpen);

    /// The dialog Show() runs, set up but not shown.
    std::unique_ptr<QFileDialog> CreateDialog(bool fOpen) const;
    /// Takes a confirmed path: FileName and FileTitle.
    void Accept(const QString& path);

    /// Qt's name filters of a "description|pattern|..." text, one per pair.
    static QStringList NameFilters(const std::string& filter);
};

} // namespace ormavex::gui
