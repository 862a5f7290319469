/* What FTCACHE.SYS and FTCTL.EXE share: the driver's own control codes
 * (device type FILE_DEVICE_UNKNOWN, outside the Manager's codes of device
 * type 0) and the journal records they move.  Plain C, included by the
 * driver (after ntddk.h) and by the tool (after windows.h and winioctl.h). */
#ifndef FTCACHE_IOCTL_H
#define FTCACHE_IOCTL_H

#include <stdint.h>

#define FT_DEVICE_NAME L"\\Device\\FTCACHE"
#define FT_LINK_NAME L"\\DosDevices\\FTCACHE"

/* The Manager's requests. */
#define FT_CACHE_ENABLE 0x8100u
#define FT_CACHE_DISABLE 0x8101u
#define FT_CACHE_SET_SETTINGS 0x8102u
#define FT_CACHE_DISK_LOW 0x8103u
#define FT_CACHE_DISK_OK 0x8104u
#define FT_CACHE_SET_EDIT_TYPES 0x8105u
#define FT_SETTINGS_SIZE 16u
#define FT_EDIT_TYPES_SIZE 184u

/* The tool's requests.  All buffered, any access. */
#define FT_TOOL_CODE(n) CTL_CODE(FILE_DEVICE_UNKNOWN, 0x900 + (n), METHOD_BUFFERED, FILE_ANY_ACCESS)
#define FT_IOCTL_GET_STATUS FT_TOOL_CODE(0)  /* out: FtJournalStatus */
#define FT_IOCTL_GET_ENTRY FT_TOOL_CODE(1)   /* in: uint32_t index; out: FtJournalEntry */
#define FT_IOCTL_RESET FT_TOOL_CODE(2)       /* empty journal, no failure, 4 output bytes */
#define FT_IOCTL_SET_FAILURE FT_TOOL_CODE(3) /* in: uint32_t code to fail, 0 = none */
#define FT_IOCTL_SET_OUTPUT FT_TOOL_CODE(4)  /* in: uint32_t bytes the data-less requests report, 0 or 4 */

#define FT_JOURNAL_CAPACITY 4096u
#define FT_JOURNAL_INPUT_MAX 256u

/* How a journalled request ended. */
#define FT_OUTCOME_OK 0u
#define FT_OUTCOME_FAILED 1u  /* told to fail it: STATUS_UNSUCCESSFUL */
#define FT_OUTCOME_REFUSED 2u /* unknown code or wrong input size */

typedef struct FtJournalEntry {
  uint32_t Code;
  uint32_t InputLength; /* as sent; at most FT_JOURNAL_INPUT_MAX bytes of it are kept */
  uint32_t OutputLength;
  uint32_t Outcome;
  uint8_t Input[FT_JOURNAL_INPUT_MAX];
} FtJournalEntry;

typedef struct FtJournalStatus {
  uint32_t Count;
  uint32_t Dropped; /* requests that arrived while the journal was full */
  uint32_t FailCode;
  uint32_t OutputBytes;
} FtJournalStatus;

#ifdef __cplusplus
static_assert(sizeof(FtJournalEntry) == 16 + FT_JOURNAL_INPUT_MAX, "journal entry layout");
static_assert(sizeof(FtJournalStatus) == 16, "journal status layout");
#else
_Static_assert(sizeof(FtJournalEntry) == 16 + FT_JOURNAL_INPUT_MAX, "journal entry layout");
_Static_assert(sizeof(FtJournalStatus) == 16, "journal status layout");
#endif

#endif
