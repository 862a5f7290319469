/* FTCACHE.SYS: stands in for the caching driver behind \\.\FTCACHE.
 * It accepts the Manager's six requests, checks their sizes, and keeps a
 * journal of every request of device type 0 so that tests can see what the
 * Manager sent.  A request code can be armed to fail.  FTCTL.EXE reads and
 * steers all this through the driver's own codes (ftcache_ioctl.h).
 *
 * Wine's ntoskrnl dispatches every IRP from one thread, so the journal needs
 * no lock here. */
#include <ntddk.h>

#include "ftcache_ioctl.h"

static FtJournalEntry Journal[FT_JOURNAL_CAPACITY];
static FtJournalStatus State = {0, 0, 0, 4};

static DEVICE_OBJECT *Device;

static void ResetState(void) {
  State.Count = 0;
  State.Dropped = 0;
  State.FailCode = 0;
  State.OutputBytes = 4;
}

/* The input as each transfer method delivers it: in the system buffer for
 * buffered and direct I/O, as the caller's pointer for METHOD_NEITHER. */
static const UCHAR* RequestInput(IRP* irp, IO_STACK_LOCATION* stack) {
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  if (METHOD_FROM_CTL_CODE(code) == METHOD_NEITHER) return stack->Parameters.DeviceIoControl.Type3InputBuffer;
  return irp->AssociatedIrp.SystemBuffer;
}

/* The output: system buffer (buffered), the MDL's mapping (direct), the
 * caller's pointer (neither). */
static void* RequestOutput(IRP* irp, IO_STACK_LOCATION* stack) {
  switch (METHOD_FROM_CTL_CODE(stack->Parameters.DeviceIoControl.IoControlCode)) {
    case METHOD_BUFFERED:
      return irp->AssociatedIrp.SystemBuffer;
    case METHOD_IN_DIRECT:
    case METHOD_OUT_DIRECT:
      return irp->MdlAddress ? MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority) : NULL;
    default:
      return irp->UserBuffer;
  }
}

/* Expected input size of a Manager request, or -1 for a code it never sends. */
static LONG ExpectedInput(ULONG code) {
  switch (code) {
    case FT_CACHE_ENABLE:
    case FT_CACHE_DISABLE:
    case FT_CACHE_DISK_LOW:
    case FT_CACHE_DISK_OK:
      return 0;
    case FT_CACHE_SET_SETTINGS:
      return FT_SETTINGS_SIZE;
    case FT_CACHE_SET_EDIT_TYPES:
      return FT_EDIT_TYPES_SIZE;
    default:
      return -1;
  }
}

static void Journalize(ULONG code, const UCHAR* input, ULONG inLength, ULONG outLength, ULONG outcome) {
  FtJournalEntry* entry;
  ULONG kept = inLength < FT_JOURNAL_INPUT_MAX ? inLength : FT_JOURNAL_INPUT_MAX;
  if (State.Count >= FT_JOURNAL_CAPACITY) {
    State.Dropped++;
    return;
  }
  entry = &Journal[State.Count++];
  RtlZeroMemory(entry, sizeof *entry);
  entry->Code = code;
  entry->InputLength = inLength;
  entry->OutputLength = outLength;
  entry->Outcome = outcome;
  if (input && kept) RtlCopyMemory(entry->Input, input, kept);
}

/* One of the Manager's requests (device type 0).  Sets *information. */
static NTSTATUS ManagerRequest(IRP* irp, IO_STACK_LOCATION* stack, ULONG_PTR* information) {
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
  ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
  const UCHAR* input = RequestInput(irp, stack);
  LONG expected = ExpectedInput(code);
  UINT32* output;

  if (expected < 0) {
    Journalize(code, input, inLength, outLength, FT_OUTCOME_REFUSED);
    return STATUS_INVALID_DEVICE_REQUEST;
  }
  if (inLength != (ULONG)expected || (inLength && !input)) {
    Journalize(code, input, inLength, outLength, FT_OUTCOME_REFUSED);
    return STATUS_INVALID_PARAMETER;
  }
  if (State.FailCode == code) {
    Journalize(code, input, inLength, outLength, FT_OUTCOME_FAILED);
    return STATUS_UNSUCCESSFUL;
  }
  Journalize(code, input, inLength, outLength, FT_OUTCOME_OK);
  /* The data-less requests answer with a zero word when there is room. */
  if (expected == 0 && State.OutputBytes >= sizeof(UINT32) && outLength >= sizeof(UINT32)) {
    output = RequestOutput(irp, stack);
    if (output) {
      *output = 0;
      *information = sizeof(UINT32);
    }
  }
  return STATUS_SUCCESS;
}

static NTSTATUS ReadWord(IRP* irp, IO_STACK_LOCATION* stack, ULONG* value) {
  if (stack->Parameters.DeviceIoControl.InputBufferLength != sizeof(UINT32) || !irp->AssociatedIrp.SystemBuffer)
    return STATUS_INVALID_PARAMETER;
  *value = *(const UINT32*)irp->AssociatedIrp.SystemBuffer;
  return STATUS_SUCCESS;
}

/* The tool's requests; all buffered, so input and output share SystemBuffer. */
static NTSTATUS ToolRequest(IRP* irp, IO_STACK_LOCATION* stack, ULONG_PTR* information) {
  ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
  void* buffer = irp->AssociatedIrp.SystemBuffer;
  ULONG value = 0;
  NTSTATUS status;

  switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case FT_IOCTL_GET_STATUS:
      if (outLength < sizeof State || !buffer) return STATUS_BUFFER_TOO_SMALL;
      RtlCopyMemory(buffer, &State, sizeof State);
      *information = sizeof State;
      return STATUS_SUCCESS;
    case FT_IOCTL_GET_ENTRY:
      if ((status = ReadWord(irp, stack, &value)) != STATUS_SUCCESS) return status;
      if (value >= State.Count) return STATUS_NO_MORE_ENTRIES;
      if (outLength < sizeof(FtJournalEntry)) return STATUS_BUFFER_TOO_SMALL;
      RtlCopyMemory(buffer, &Journal[value], sizeof(FtJournalEntry));
      *information = sizeof(FtJournalEntry);
      return STATUS_SUCCESS;
    case FT_IOCTL_RESET:
      ResetState();
      return STATUS_SUCCESS;
    case FT_IOCTL_SET_FAILURE:
      if ((status = ReadWord(irp, stack, &value)) != STATUS_SUCCESS) return status;
      State.FailCode = value;
      return STATUS_SUCCESS;
    case FT_IOCTL_SET_OUTPUT:
      if ((status = ReadWord(irp, stack, &value)) != STATUS_SUCCESS) return status;
      if (value != 0 && value != sizeof(UINT32)) return STATUS_INVALID_PARAMETER;
      State.OutputBytes = value;
      return STATUS_SUCCESS;
    default:
      return STATUS_INVALID_DEVICE_REQUEST;
  }
}

static NTSTATUS Complete(IRP* irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

static NTSTATUS DispatchOpenClose(DEVICE_OBJECT* device, IRP* irp) {
  (void)device;
  return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchControl(DEVICE_OBJECT* device, IRP* irp) {
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  ULONG_PTR information = 0;
  NTSTATUS status;
  (void)device;

  if (DEVICE_TYPE_FROM_CTL_CODE(code) == 0)
    status = ManagerRequest(irp, stack, &information);
  else
    status = ToolRequest(irp, stack, &information);
  return Complete(irp, status, information);
}

static void DriverUnload(DRIVER_OBJECT* driver) {
  UNICODE_STRING link;
  (void)driver;
  RtlInitUnicodeString(&link, FT_LINK_NAME);
  IoDeleteSymbolicLink(&link);
  if (Device) IoDeleteDevice(Device);
  Device = NULL;
}

NTSTATUS DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
  UNICODE_STRING name, link;
  NTSTATUS status;
  (void)registryPath;

  ResetState();
  RtlInitUnicodeString(&name, FT_DEVICE_NAME);
  RtlInitUnicodeString(&link, FT_LINK_NAME);
  status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &Device);
  if (!NT_SUCCESS(status)) return status;
  status = IoCreateSymbolicLink(&link, &name);
  if (!NT_SUCCESS(status)) {
    IoDeleteDevice(Device);
    Device = NULL;
    return status;
  }
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchOpenClose;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchOpenClose;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchOpenClose;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
  driver->DriverUnload = DriverUnload;
  return STATUS_SUCCESS;
}
