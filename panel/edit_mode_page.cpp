#include "panel/edit_mode_page.h"

#include <shellapi.h>

#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/device.h"
#include "settings/file_types.h"
#include "settings/settings.h"
#include "text/message_text.h"

// The last extension accepted in the Add dialog ("TXT" at first).
static char NewExtension[EXTENSION_SIZE] = "TXT";

// The type's icon when it came from ExtractIconA: ours to destroy.
static HICON ExtractedIcon = nullptr;

static INT_PTR CALLBACK AddExtensionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A list item's text; items never exceed an extension, so a longer one reads empty.
static void ItemText(HWND list, WPARAM index, char (&text)[EXTENSION_SIZE]) {
  text[0] = '\0';
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length >= 0 && length <= EXTENSION_CHARS) SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
}

static int ItemCount(HWND list) {
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

// ---- the selected type's name and icon ---------------------------------

static void ShowIcon(HWND page, HICON icon, bool extracted) {
  SendDlgItemMessageA(page, IDC_EDIT_ICON, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  if (ExtractedIcon && ExtractedIcon != icon) DestroyIcon(ExtractedIcon);
  ExtractedIcon = extracted ? icon : nullptr;
}

static void ShowDefaultIcon(HWND page) { ShowIcon(page, LoadIconA(nullptr, IDI_WINLOGO), false); }

// The three hints in the type's name field fall back to the string table:
// without them the name of the type shown before would stay beside another.
static void ShowTypeHint(HWND page, TextId hint) {
  char text[MESSAGE_TEXT_SIZE];
  GetMessageText(hint, text, sizeof text);
  SetDlgItemTextA(page, IDC_EDIT_TYPE_NAME, text);
}

static void ShowUnknownType(HWND page) {
  ShowTypeHint(page, TEXT_EDIT_UNKNOWN_TYPE);
  ShowDefaultIcon(page);
}

// The icon that the entry's location names, or null.
static HICON ExtractTypeIcon(const FileTypeEntry& entry) {
  // Index -1 would ask for the number of icons in the file, not for an icon.
  if (entry.IconFile[0] == '\0' || entry.IconIndex == -1) return nullptr;
  HICON icon = ExtractIconA(AppInstance, entry.IconFile, static_cast<UINT>(entry.IconIndex));
  // 1 is the answer for a file without icons: no icon either.
  return reinterpret_cast<UINT_PTR>(icon) > 1 ? icon : nullptr;
}

void ShowFileType(HWND page, int listId) {
  HWND list = GetDlgItem(page, listId);
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    ShowTypeHint(page, ItemCount(list) > 0 ? TEXT_EDIT_NO_SELECTION : TEXT_EDIT_NO_TYPES);
    ShowDefaultIcon(page);
    return;
  }
  char extension[EXTENSION_SIZE];
  ItemText(list, static_cast<WPARAM>(selected), extension);
  FileTypeEntry entry;
  if (!ReadFileType(extension, &entry)) {
    ShowUnknownType(page);
    return;
  }
  if (entry.Name[0] != '\0')
    SetDlgItemTextA(page, IDC_EDIT_TYPE_NAME, entry.Name);
  else
    ShowTypeHint(page, TEXT_EDIT_UNKNOWN_TYPE);
  HICON icon = ExtractTypeIcon(entry);
  if (icon)
    ShowIcon(page, icon, true);
  else
    ShowDefaultIcon(page);
}

// ---- the page -----------------------------------------------------------

static void EnableEditModeControls(HWND page, BOOL enable) {
  static const int CONTROLS[] = {IDC_EDIT_LIST,        IDC_EDIT_ADD,  IDC_EDIT_REMOVE,
                                 IDC_EDIT_TYPES_FRAME, IDC_EDIT_ICON, IDC_EDIT_TYPE_NAME};
  for (int control : CONTROLS) EnableWindow(GetDlgItem(page, control), enable);
}

// Rebuilds EditModeTable from the page, sends it to the driver and saves.
static void ApplyEditMode(HWND page) {
  EditModeTable.EditModeEnabled = CheckBoxFlag(page, IDC_EDIT_ENABLE);
  HWND list = GetDlgItem(page, IDC_EDIT_LIST);
  int count = ItemCount(list);
  if (count > EDIT_TYPE_SLOTS) count = EDIT_TYPE_SLOTS;
  ExtensionText listed[EDIT_TYPE_SLOTS];
  for (int item = 0; item < count; item++) ItemText(list, item, listed[item]);
  SetEditTypes(&EditModeTable, listed, count);
  SendEditModeTable();  // does not return when the driver refuses
  SavePanelSettings();
}

static void CreateEditModePage(HWND page) {
  SetDialogLabels(page, IDD_EDIT_MODE);
  CheckDlgButton(page, IDC_EDIT_ENABLE, EditModeTable.EditModeEnabled ? BST_CHECKED : BST_UNCHECKED);
  EnableEditModeControls(page, EditModeTable.EditModeEnabled != 0);
  HWND list = GetDlgItem(page, IDC_EDIT_LIST);
  ExtensionText listed[EDIT_TYPE_SLOTS];
  int count = ListedExtensions(EditModeTable, listed);
  for (int item = 0; item < count; item++) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(listed[item]));
  ShowFileType(page, IDC_EDIT_LIST);
}

static void AddFileType(HWND page) {
  HWND list = GetDlgItem(page, IDC_EDIT_LIST);
  if (ItemCount(list) >= EDIT_TYPE_SLOTS) {
    ShowMessageText(page, TEXT_EDIT_LIST_FULL, MB_ICONEXCLAMATION);
  } else if (DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ADD_EXTENSION), page, AddExtensionDialogProc, 0) ==
                 1 &&
             NewExtension[0] != '\0') {
    // LB_FINDSTRINGEXACT ignores case; the list sorts the new item in.
    if (SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(NewExtension)) ==
        LB_ERR)
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NewExtension));
  }
  ShowFileType(page, IDC_EDIT_LIST);
}

static void RemoveFileType(HWND page) {
  HWND list = GetDlgItem(page, IDC_EDIT_LIST);
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR)
    ShowMessageText(page, TEXT_EDIT_NO_SELECTION, MB_ICONEXCLAMATION);
  else
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  ShowFileType(page, IDC_EDIT_LIST);
}

static void SwitchEditModeAtOnce(HWND page) {
  EditModeTable.EditModeEnabled = CheckBoxFlag(page, IDC_EDIT_ENABLE);
  EnableEditModeControls(page, EditModeTable.EditModeEnabled);
  ApplyEditMode(page);
}

static bool ApplyEditModePage(HWND page) {
  ApplyEditMode(page);
  return true;  // the page never refuses
}

static const PageActions EDIT_MODE_ACTIONS = {nullptr, nullptr, ApplyEditModePage};

INT_PTR CALLBACK EditModePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateEditModePage(page);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_EDIT_ENABLE:
          SwitchEditModeAtOnce(page);
          break;
        case IDC_EDIT_ADD:
          AddFileType(page);
          break;
        case IDC_EDIT_REMOVE:
          RemoveFileType(page);
          break;
        case IDC_EDIT_LIST:
          if (HIWORD(wParam) == LBN_SELCHANGE) ShowFileType(page, IDC_EDIT_LIST);
          break;
      }
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), EDIT_MODE_ACTIONS);
    case WM_DESTROY:
      ShowIcon(page, nullptr, false);  // releases an extracted icon
      return FALSE;
  }
  return FALSE;
}

// ---- Add New Extension ----------------------------------------------------

static void CreateAddDialog(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_ADDEXT_TEXT, EM_LIMITTEXT, EXTENSION_CHARS, 0);
  SetDlgItemTextA(dialog, IDC_ADDEXT_TEXT, NewExtension);
  SetDialogLabels(dialog, IDD_ADD_EXTENSION);
  SetDialogTitle(dialog, TEXT_EDIT_ADD_TITLE);
}

static INT_PTR CALLBACK AddExtensionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateAddDialog(dialog);
      return 1;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        GetDlgItemTextA(dialog, IDC_ADDEXT_TEXT, NewExtension, sizeof NewExtension);
        EndDialog(dialog, 1);
        return 1;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return 1;
      }
      return 0;
    case WM_CLOSE:  // the title bar's close acts as Cancel
      EndDialog(dialog, 0);
      return 1;
  }
  return 0;
}
