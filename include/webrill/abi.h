/*
 * The binary contract between a host and the webrill plug-in.
 *
 * Everything a host needs to load the plug-in, call its twelve exports and read what comes back:
 * the call record, the parameter lists and their items, texts, variants, the class records behind
 * the lists' class pointers, the window messages the plug-in sends, and the callbacks the host
 * exports. Plain C so that any host can compile against it.
 *
 * On i386 the layouts are exactly the historical 32-bit ones and the static assertions at the end
 * pin every offset. On x86-64 the fields keep their order and packing; pointer fields widen to
 * eight bytes (the offsets are pinned as well).
 *
 * Both sides allocate every block that crosses the boundary with the C library's malloc and
 * release it with free.
 */
#ifndef WEBRILL_ABI_H
#define WEBRILL_ABI_H

#include <stddef.h>
#include <stdint.h>

#if defined(__i386__)
#define WEBRILL_STDCALL __attribute__((stdcall))
#else
#define WEBRILL_STDCALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Interface version answered by GetPluginIntfVersion: major in the low 16 bits, minor in the high. */
#define WR_INTERFACE_VERSION 4u

/* ---- Result codes of ExecutePluginCommand, GetData, GetEvents and ProcessData ---- */
#define WR_RESULT_REFUSED (-1)     /* invalid record, no instance, wait failed, unloaded, refused */
#define WR_RESULT_NOT_HANDLED (-2) /* the command was not handled */
#define WR_RESULT_EXCEPTION (-3)   /* an exception was caught while the call was served */

/* ---- ShowOptionsDialog outcomes left in ResultValue ---- */
#define WR_DIALOG_NOT_ACCEPTED 0
#define WR_DIALOG_ACCEPTED 1
#define WR_DIALOG_NO_INSTANCE 2
#define WR_DIALOG_NO_HANDLER 3
#define WR_DIALOG_RUNNING 4

/* ---- Type codes of DataType and ResultType ---- */
#define WR_DATA_LIST 1  /* the pointer is a TzunParamsList or TzunRowsParamsList */
#define WR_DATA_TEXT 2  /* the pointer is text of DataSize bytes, no terminator counted */
#define WR_DATA_INT32 5 /* a signed 32-bit number held in ResultValue itself */

/* ---- Module types (TModuleType) and their bits in a TModuleTypes set ---- */
typedef uint8_t TModuleType;
typedef uint8_t TModuleTypes; /* bit n stands for the module type of value n */
#define mttDataQuery 0
#define mttDataParser 1
#define mttDataExport 2
#define mttEventsHandling 3
#define mttLogging 4
#define mttFilter 5
#define mttDeviceLayer 6
#define mttMenuExt 7
#define WR_MODULE_BIT(type) ((TModuleTypes)(1u << (type)))

typedef uint8_t TModuleOption;
typedef uint8_t TModuleOptions; /* bit n stands for the option of value n */
#define moNoConfig 0
#define moXMLOptions 1

/* ---- Window messages sent to the host's message window ---- */
#define WR_MSG_LOG_WAITING 1809 /* log lines wait in the queue: call GetLogEx */
#define WR_MSG_DATA_READY 1810  /* rows wait: call GetData with lParam in DataSourceId */
#define WR_WM_COPYDATA 0x4A     /* log text delivered at once */
#define WR_COPYDATA_LOG_BATCH 1 /* queued lines, each followed by CR LF */
#define WR_COPYDATA_LOG_LINE 2  /* one line */

/*
 * A message window is the file descriptor of an AF_UNIX datagram socket owned by the host. Each
 * message is one datagram. WM_COPYDATA carries its header followed by ByteCount bytes.
 */
#pragma pack(push, 1)
typedef struct TWindowMessage {
    uint32_t Msg;
    uint32_t WParam; /* the host context taken at LOAD */
    uint64_t LParam;
} TWindowMessage;

typedef struct TCopyDataMessage {
    uint32_t Msg; /* WR_WM_COPYDATA */
    uint32_t WParam;
    uint64_t Kind;      /* WR_COPYDATA_LOG_BATCH or WR_COPYDATA_LOG_LINE */
    uint32_t ByteCount; /* bytes that follow; no terminating zero */
} TCopyDataMessage;
#pragma pack(pop)

/* ---- Texts ----
 * Single-byte text: a pointer to the first character; the int32 reference count lies 8 bytes
 * before it (-1 marks a constant), the int32 length 4 bytes before it, a zero byte follows the
 * last character. The allocated block starts at the count. The empty text is a null pointer. */
typedef char* TzunText;
#define WR_TEXT_CONSTANT_REFS (-1)

/* OLE string: a pointer to the first UTF-16LE code unit; the uint32 length in bytes lies 4 bytes
 * before it and two zero bytes follow the last unit. The allocated block starts at the length. */
typedef uint16_t* TOleString;

/* ---- Variants (16 bytes on both widths) ---- */
#define WR_VT_EMPTY 0
#define WR_VT_NULL 1
#define WR_VT_I4 3
#define WR_VT_R8 5
#define WR_VT_CY 6    /* currency: int64 ten-thousandths */
#define WR_VT_DATE 7  /* days since 1899-12-30 as a double, time as the fraction */
#define WR_VT_BSTR 8  /* OLE string */
#define WR_VT_BOOL 11 /* -1 true, 0 false */
#define WR_VT_I8 20
#define WR_VT_PRIVATE_STRING 0x100 /* module-private single-byte text; never crosses in a list */

typedef struct TVariant {
    uint16_t VType;
    uint16_t Reserved1;
    uint16_t Reserved2;
    uint16_t Reserved3;
    union {
        int32_t Int32;
        int64_t Int64;
        double Real;
        double Date;
        int16_t Bool;
        int64_t Currency;
        TOleString OleString;
        TzunText PrivateString;
        uint8_t Bytes[8];
    } Value;
} TVariant;

/* ---- Parameter lists ---- */
#define WR_LIST_MAGIC 0x0FDE2E4Bu
#define WR_ROW_SEPARATOR "$NEW_ROW$"
#define WR_ROWS_LIST_CLASS_NAME "TzunRowsParamsList"

typedef struct TzunParamsList TzunParamsList;
typedef struct TzunParamsListItem TzunParamsListItem;

/* Notify actions */
#define WR_LIST_ADDED 0
#define WR_LIST_EXTRACTED 1
#define WR_LIST_DELETED 2

/*
 * Class record of a list. The list's class pointer points at Grow (slot 0); the word just before
 * slot 0 points at the class name as a length-prefixed single-byte string (one length byte, then
 * the characters). Slots take the list as their first argument. Create returns a new, empty list
 * of the same class as the list given.
 */
typedef struct TzunListClass {
    void(WEBRILL_STDCALL* Grow)(TzunParamsList* self);
    void(WEBRILL_STDCALL* Notify)(TzunParamsList* self, TzunParamsListItem* item, int32_t action);
    void(WEBRILL_STDCALL* Clear)(TzunParamsList* self);
    void(WEBRILL_STDCALL* Error)(TzunParamsList* self, const char* message, intptr_t data);
    TzunParamsList*(WEBRILL_STDCALL* Create)(TzunParamsList* self);
} TzunListClass;

/* Class record of an item: the name word before slot 0 as for lists; slot 0 releases the item. */
typedef struct TzunItemClass {
    void(WEBRILL_STDCALL* Destroy)(TzunParamsListItem* self);
} TzunItemClass;

/* The class name of a class pointer (length-prefixed). */
static inline const unsigned char* wr_class_name(const void* classPointer) {
    return ((const unsigned char* const*)classPointer)[-1];
}

struct TzunParamsListItem {
    const TzunItemClass* Class;
    TzunText Name;
    TzunText LowerName; /* Name lower-cased with the ANSI (Windows-1252) rules; lookups use it */
    void* Reserved;
    uint8_t State; /* 0 when created with an empty or null value, else 2 */
    uint8_t Padding[7];
    TVariant Value;
};

struct TzunParamsList {
    const TzunListClass* Class;
    TzunParamsListItem** Items;
    int32_t Count;
    int32_t Capacity;
    uint32_t Magic;  /* WR_LIST_MAGIC while alive, 0 once destruction began */
    TzunText ListId; /* GUID in registry form, made at creation */
    int32_t Reserved;
};

typedef struct TzunRowsParamsList {
    TzunParamsList List;
    int32_t RowsReserved;
} TzunRowsParamsList;

/* ---- The call record of every export but GetPluginIntfVersion ---- */
#define WR_RELEASE_FLAG 0xFF
#define WR_CLIENT_ADDRESS_CHARS 50

#pragma pack(push, 1)
typedef struct TPluginCallRec {
    uint32_t RecSize;    /* must be sizeof(TPluginCallRec) */
    uint8_t ReleaseFlag; /* WR_RELEASE_FLAG destroys the instance */
    uint32_t InstanceId; /* chosen by the host; 0 is never valid */
    uint32_t HostContext;
    uint32_t DataSourceId; /* in GetData also a data-ready notification handle */
    uint32_t ClientId;
    TModuleTypes ModuleTypes;
    TzunParamsList* Params;
    void* Reserved1;
    int32_t DataSize;
    uint8_t DataType;
    void* Data;
    void* Reserved2;
    int32_t ResultSize;
    uint8_t ResultType;
    intptr_t ResultValue; /* a number held in the field, or a pointer to a list */
    char ClientAddress[WR_CLIENT_ADDRESS_CHARS];
} TPluginCallRec;
#pragma pack(pop)

/* ---- Exports of the plug-in ---- */
typedef uint32_t(WEBRILL_STDCALL* TGetPluginIntfVersion)(void);
typedef float(WEBRILL_STDCALL* TGetAppMinVersion)(TPluginCallRec* rec);
typedef const char*(WEBRILL_STDCALL* TGetModuleDescription)(TPluginCallRec* rec);
typedef uint32_t(WEBRILL_STDCALL* TGetModuleType)(TPluginCallRec* rec);
typedef int32_t(WEBRILL_STDCALL* TGetCustomCommands)(TPluginCallRec* rec);
typedef int32_t(WEBRILL_STDCALL* TGetLogEx)(TPluginCallRec* rec);
typedef void(WEBRILL_STDCALL* TShowOptionsDialog)(TPluginCallRec* rec);
typedef int32_t(WEBRILL_STDCALL* TExecutePluginCommand)(TPluginCallRec* rec);
typedef int32_t(WEBRILL_STDCALL* TGetData)(TPluginCallRec* rec);
typedef int32_t(WEBRILL_STDCALL* TGetEvents)(TPluginCallRec* rec);
typedef int32_t(WEBRILL_STDCALL* TProcessData)(TPluginCallRec* rec);
typedef uint8_t(WEBRILL_STDCALL* TMultiThreadSupport)(TPluginCallRec* rec);

#if defined(WEBRILL_BUILDING_PLUGIN)
#define WEBRILL_EXPORT __attribute__((visibility("default")))
#else
#define WEBRILL_EXPORT
#endif

WEBRILL_EXPORT uint32_t WEBRILL_STDCALL GetPluginIntfVersion(void);
WEBRILL_EXPORT float WEBRILL_STDCALL GetAppMinVersion(TPluginCallRec* rec);
WEBRILL_EXPORT const char* WEBRILL_STDCALL GetModuleDescription(TPluginCallRec* rec);
WEBRILL_EXPORT uint32_t WEBRILL_STDCALL GetModuleType(TPluginCallRec* rec);
WEBRILL_EXPORT int32_t WEBRILL_STDCALL GetCustomCommands(TPluginCallRec* rec);
WEBRILL_EXPORT int32_t WEBRILL_STDCALL GetLogEx(TPluginCallRec* rec);
WEBRILL_EXPORT void WEBRILL_STDCALL ShowOptionsDialog(TPluginCallRec* rec);
WEBRILL_EXPORT int32_t WEBRILL_STDCALL ExecutePluginCommand(TPluginCallRec* rec);
WEBRILL_EXPORT int32_t WEBRILL_STDCALL GetData(TPluginCallRec* rec);
WEBRILL_EXPORT int32_t WEBRILL_STDCALL GetEvents(TPluginCallRec* rec);
WEBRILL_EXPORT int32_t WEBRILL_STDCALL ProcessData(TPluginCallRec* rec);
WEBRILL_EXPORT uint8_t WEBRILL_STDCALL MultiThreadSupport(TPluginCallRec* rec);

/* ---- Functions the host's executable exports (dynamic symbols); results are ignored ---- */
typedef int32_t(WEBRILL_STDCALL* TfSendData)(uint32_t hostContext, uint32_t dataSourceId, uint32_t clientId,
                                             const void* bytes, int32_t byteCount);
/* "<<CLOSE>>" asks the host to close the connection once what was sent before has gone out. */
typedef int32_t(WEBRILL_STDCALL* TfSendString)(uint32_t hostContext, uint32_t dataSourceId, uint32_t clientId,
                                               const char* text);
typedef int32_t(WEBRILL_STDCALL* TfSendByte)(uint32_t hostContext, uint32_t dataSourceId, uint32_t clientId,
                                             uint8_t value);
/* Crash reports passed on by the plug-in: exception class name, message, and the reporter's flag
 * (non-zero: report handled), which the host may change. */
typedef void(WEBRILL_STDCALL* TQuorelHandleException)(const char* exceptionClass, const char* message,
                                                      int32_t* handled);
#define WR_SEND_CLOSE "<<CLOSE>>"

/* ---- Layout checks ---- */
#ifdef __cplusplus
#define WR_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define WR_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

WR_STATIC_ASSERT(sizeof(TVariant) == 16, "variant size");
WR_STATIC_ASSERT(offsetof(TVariant, Value) == 8, "variant value");
WR_STATIC_ASSERT(sizeof(TWindowMessage) == 16, "window message size");
WR_STATIC_ASSERT(sizeof(TCopyDataMessage) == 20, "copy-data header size");

#if defined(__i386__)
WR_STATIC_ASSERT(sizeof(TPluginCallRec) == 102, "call record size");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ReleaseFlag) == 4, "ReleaseFlag");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, InstanceId) == 5, "InstanceId");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, HostContext) == 9, "HostContext");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, DataSourceId) == 13, "DataSourceId");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ClientId) == 17, "ClientId");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ModuleTypes) == 21, "ModuleTypes");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Params) == 22, "Params");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Reserved1) == 26, "Reserved1");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, DataSize) == 30, "DataSize");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, DataType) == 34, "DataType");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Data) == 35, "Data");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Reserved2) == 39, "Reserved2");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ResultSize) == 43, "ResultSize");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ResultType) == 47, "ResultType");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ResultValue) == 48, "ResultValue");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ClientAddress) == 52, "ClientAddress");

WR_STATIC_ASSERT(sizeof(TzunParamsListItem) == 40, "item size");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, Name) == 4, "item Name");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, LowerName) == 8, "item LowerName");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, Reserved) == 12, "item Reserved");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, State) == 16, "item State");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, Value) == 24, "item Value");

WR_STATIC_ASSERT(sizeof(TzunParamsList) == 28, "list size");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Items) == 4, "list Items");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Count) == 8, "list Count");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Capacity) == 12, "list Capacity");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Magic) == 16, "list Magic");
WR_STATIC_ASSERT(offsetof(TzunParamsList, ListId) == 20, "list ListId");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Reserved) == 24, "list Reserved");
WR_STATIC_ASSERT(sizeof(TzunRowsParamsList) == 32, "rows list size");
WR_STATIC_ASSERT(offsetof(TzunRowsParamsList, RowsReserved) == 28, "rows list field");

WR_STATIC_ASSERT(sizeof(TzunListClass) == 20, "list class slots");
#elif defined(__x86_64__)
/* 64-bit offsets: the same order, pointers widened. */
WR_STATIC_ASSERT(sizeof(TPluginCallRec) == 122, "call record size");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ModuleTypes) == 21, "ModuleTypes");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Params) == 22, "Params");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Reserved1) == 30, "Reserved1");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, DataSize) == 38, "DataSize");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, DataType) == 42, "DataType");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Data) == 43, "Data");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, Reserved2) == 51, "Reserved2");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ResultSize) == 59, "ResultSize");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ResultType) == 63, "ResultType");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ResultValue) == 64, "ResultValue");
WR_STATIC_ASSERT(offsetof(TPluginCallRec, ClientAddress) == 72, "ClientAddress");

WR_STATIC_ASSERT(sizeof(TzunParamsListItem) == 56, "item size");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, State) == 32, "item State");
WR_STATIC_ASSERT(offsetof(TzunParamsListItem, Value) == 40, "item Value");

WR_STATIC_ASSERT(sizeof(TzunParamsList) == 48, "list size");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Count) == 16, "list Count");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Magic) == 24, "list Magic");
WR_STATIC_ASSERT(offsetof(TzunParamsList, ListId) == 32, "list ListId");
WR_STATIC_ASSERT(offsetof(TzunParamsList, Reserved) == 40, "list Reserved");
WR_STATIC_ASSERT(sizeof(TzunRowsParamsList) == 56, "rows list size");
WR_STATIC_ASSERT(offsetof(TzunRowsParamsList, RowsReserved) == 48, "rows list field");
#endif

#ifdef __cplusplus
}
#endif

#endif /* WEBRILL_ABI_H */
