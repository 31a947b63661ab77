#pragma once
// The one table of texts shown to the user, addressed by number.

enum EQvString : int {
    IDS_CANNOT_INITIALIZE_RPC = 104,
    IDS_DEFAULT_CONNECTION_NAME = 105,
    IDS_DEFAULT_CONNECTION_ADDRESS = 107,
    IDS_DEFAULT_CONNECTION_COMMENT = 108,
    IDS_CANNOT_IMPORT_RECORDS = 124,
    IDS_CANNOT_EXPORT_RECORDS = 125,
    IDS_RECORD_LIST_EXTENSION = 128,
    IDS_RECORD_LIST_FILTER = 129,
    IDS_CANNOT_CONNECT = 131,
    IDS_NAME_ALREADY_EXISTS = 132,
    IDS_NEW_CONNECTION_NAME = 145,
    IDS_NEW_CONNECTION_ADDRESS = 146,
    IDS_VERSION_MISMATCH = 348,
    // Column headers, numbered here (30000 and up) for lookup like every other text.
    IDS_COLUMN_TIME = 30000,
    IDS_COLUMN_EVENT_NAME,
    IDS_COLUMN_EVENT_ID,
    IDS_COLUMN_EVENT_TYPE,
    IDS_COLUMN_EVENT_PRIORITY,
    IDS_COLUMN_OBJECT_ID,
    IDS_COLUMN_EVENT_GROUP_NAME,
    IDS_COLUMN_EVENT_GROUP_ID,
    IDS_COLUMN_EVENT_INFO,
};

// The text of an id; an empty text for an id the table does not hold.
const char* QvString(int id);
