#include "panel/edit_mode_page.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/device.h"
#include "settings/registry_key.h"
#include "settings/settings.h"
#include "text/format_text.h"
#include "text/message_text.h"

// The last extension accepted in the Add dialog ("TXT" at first).
static char NewExtension[EXTENSION_SIZE] = "TXT";

// Texts read from HKEY_CLASSES_ROOT: at most 260 bytes, plus a NUL of ours.
constexpr DWORD REGISTRY_TEXT_SIZE = 260;
using RegistryText = char[REGISTRY_TEXT_SIZE + 1];

// The type's icon when it came from ExtractIconA: ours to destroy.
static HICON ExtractedIcon = nullptr;

static INT_PTR CALLBACK AddExtensionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

int SplitIconLocation(char* location) {
  char* comma = strrchr(location, ',');
  if (!comma) return 0;
  *comma = '\0';
  // As atoi reads it, but with overflow defined (clamped).
  return static_cast<int>(strtol(comma + 1, nullptr, 10));
}

bool ReadSlotExtension(const char (&slot)[EDIT_TYPE_SLOT_SIZE], char (&extension)[EXTENSION_SIZE]) {
  extension[0] = '\0';
  if (slot[0] == '\0') return false;
  int length = 0;
  while (length < EXTENSION_CHARS && slot[1 + length] != '\0') {
    extension[length] = slot[1 + length];
    length++;
  }
  extension[length] = '\0';
  return true;
}

void WriteSlotExtension(char (&slot)[EDIT_TYPE_SLOT_SIZE], const char* extension) {
  memset(slot, 0, sizeof slot);
  slot[0] = '.';
  for (int i = 0; i < EXTENSION_CHARS && extension[i] != '\0'; i++) slot[1 + i] = extension[i];
}

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

// A key's default value; a value that fills all 260 bytes is ended by us.
static bool ReadDefaultText(HKEY key, RegistryText& text) {
  memset(text, 0, sizeof text);
  DWORD size = REGISTRY_TEXT_SIZE;
  return RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
}

// The icon that the class's "DefaultIcon" names, or null.
static HICON ExtractTypeIcon(HKEY classKey) {
  HKEY iconKey;
  if (RegOpenKeyExA(classKey, "DefaultIcon", 0, KEY_READ, &iconKey) != ERROR_SUCCESS) return nullptr;
  KeyGuard guard{iconKey};
  RegistryText location;
  if (!ReadDefaultText(iconKey, location) || location[0] == '\0') return nullptr;
  int index = SplitIconLocation(location);
  // Index -1 would ask for the number of icons in the file, not for an icon.
  if (index == -1) return nullptr;
  HICON icon = ExtractIconA(AppInstance, location, static_cast<UINT>(index));
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
  char typeKeyName[1 + EXTENSION_SIZE];
  FormatText(typeKeyName, sizeof typeKeyName, ".%s", extension);

  HKEY typeKey;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, typeKeyName, 0, KEY_READ, &typeKey) != ERROR_SUCCESS) {
    ShowUnknownType(page);
    return;
  }
  RegistryText className;
  bool classRead = ReadDefaultText(typeKey, className);
  RegCloseKey(typeKey);
  HKEY classKey;
  if (!classRead || RegOpenKeyExA(HKEY_CLASSES_ROOT, className, 0, KEY_READ, &classKey) != ERROR_SUCCESS) {
    ShowUnknownType(page);
    return;
  }
  KeyGuard classGuard{classKey};

  RegistryText typeName;
  if (ReadDefaultText(classKey, typeName) && typeName[0] != '\0')
    SetDlgItemTextA(page, IDC_EDIT_TYPE_NAME, typeName);
  else
    ShowTypeHint(page, TEXT_EDIT_UNKNOWN_TYPE);

  HICON icon = ExtractTypeIcon(classKey);
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
  for (int slot = 0; slot < count; slot++) {
    char extension[EXTENSION_SIZE];
    ItemText(list, slot, extension);
    WriteSlotExtension(EditModeTable.Extensions[slot], extension);
  }
  for (int slot = count; slot < EDIT_TYPE_SLOTS; slot++)
    memset(EditModeTable.Extensions[slot], 0, EDIT_TYPE_SLOT_SIZE);
  SendEditModeTable();  // does not return when the driver refuses
  SavePanelSettings();
}

static void CreateEditModePage(HWND page) {
  SetDialogLabels(page, IDD_EDIT_MODE);
  CheckDlgButton(page, IDC_EDIT_ENABLE, EditModeTable.EditModeEnabled ? BST_CHECKED : BST_UNCHECKED);
  EnableEditModeControls(page, EditModeTable.EditModeEnabled != 0);
  HWND list = GetDlgItem(page, IDC_EDIT_LIST);
  for (const auto& slot : EditModeTable.Extensions) {
    char extension[EXTENSION_SIZE];
    if (ReadSlotExtension(slot, extension)) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(extension));
  }
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
