// Where a printer that asks for a file puts the page: Windows' own Save As dialog, asked before
// the print starts, on the window's thread and owned by its window, as Windows' own programs ask.
#include <QGuiApplication>
#include <QWindow>

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "SpoolerPrinter.h"

namespace {

// The window the user printed from: it is kept from input while the dialog is open.
HWND ownerWindow() {
    QWindow* window = QGuiApplication::focusWindow();
    if (!window) {  // a print not started from the keyboard or mouse: a screen reader's, say
        for (QWindow* candidate : QGuiApplication::topLevelWindows())
            if (candidate->isVisible() && candidate->type() == Qt::Window) window = candidate;
    }
    return window ? reinterpret_cast<HWND>(window->winId()) : nullptr;
}

// The dialog's list of kinds, pairs of a name and a pattern, ending in an empty string.
std::wstring kindsOf(const std::wstring& extension) {
    std::wstring name = L"File di stampa";
    if (extension == L"pdf") name = L"Documento PDF";
    if (extension == L"oxps") name = L"Documento XPS";
    std::wstring kinds = name + L" (*." + extension + L")" + L'\0' + L"*." + extension + L'\0';
    kinds += std::wstring(L"Tutti i file (*.*)") + L'\0' + L"*.*" + L'\0';
    return kinds;
}

}  // namespace

std::optional<std::wstring> SpoolerPrinter::askInSaveDialog(const std::wstring& extension,
                                                            QString& why) {
    const std::wstring kinds = kindsOf(extension);
    const std::wstring suggested = L"Quilvane." + extension;
    std::vector<wchar_t> file(32768, L'\0');  // room for a long path
    suggested.copy(file.data(), suggested.size());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ownerWindow();
    dialog.lpstrFilter = kinds.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    // The user's documents the first time, as Windows' own programs; then where they saved last.
    wchar_t documents[MAX_PATH] = L"";
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
        dialog.lpstrInitialDir = documents;
    dialog.lpstrTitle = L"Salva output di stampa con nome";
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                   OFN_HIDEREADONLY;
    if (GetSaveFileNameW(&dialog)) return std::wstring(file.data());
    // Zero when the user cancelled; otherwise the dialog could not be shown.
    if (const DWORD error = CommDlgExtendedError())
        why = QStringLiteral("the Save As dialog failed (error %1)").arg(error, 0, 16);
    return std::nullopt;
}
