#include "StringTable.h"

#include <utility>

namespace {
const std::pair<int, const char*> kTexts[] = {
    {IDS_CANNOT_INITIALIZE_RPC, "Cannot initialize RPC.\nTry to change the TCP Port of Quorvel"},
    {IDS_DEFAULT_CONNECTION_NAME, "Local PC-Win32 (Default Connection)"},
    {IDS_DEFAULT_CONNECTION_ADDRESS, "127.0.0.1"},
    {IDS_DEFAULT_CONNECTION_COMMENT, "Use default port to access a local NORV engine"},
    {IDS_CANNOT_IMPORT_RECORDS, "Cannot import connection records from file \"%s\""},
    {IDS_CANNOT_EXPORT_RECORDS, "Cannot export connection records in file \"%s\""},
    {IDS_RECORD_LIST_EXTENSION, "lst"},
    {IDS_RECORD_LIST_FILTER, "Connection Record list (*.lst)|*.lst|All Files (*.*)|*.*||"},
    {IDS_CANNOT_CONNECT, "Cannot establish the connection!"},
    {IDS_NAME_ALREADY_EXISTS, "\"%s\" already exist"},
    {IDS_NEW_CONNECTION_NAME, "New connection"},
    {IDS_NEW_CONNECTION_ADDRESS, "127.0.0.1"},
    {IDS_VERSION_MISMATCH,
     "Warning! Norv version is %s and isn't full compatible with Quorvel built for version %s.\nYou are not "
     "supposed to work with a bad version !\nDo you accept the risk to have problems ? \nIf no, the connection will "
     "be closed !"},
    {IDS_COLUMN_TIME, "Time"},
    {IDS_COLUMN_EVENT_NAME, "Event name"},
    {IDS_COLUMN_EVENT_ID, "Event Id"},
    {IDS_COLUMN_EVENT_TYPE, "Event type"},
    {IDS_COLUMN_EVENT_PRIORITY, "Event Priority"},
    {IDS_COLUMN_OBJECT_ID, "Object Id"},
    {IDS_COLUMN_EVENT_GROUP_NAME, "Event group name"},
    {IDS_COLUMN_EVENT_GROUP_ID, "Event Group Id"},
    {IDS_COLUMN_EVENT_INFO, "Event info"},
    {IDS_COLUMN_RESOURCE_NAME, "Resource Name"},
    {IDS_COLUMN_RESOURCE_ID, "Resource Id"},
    {IDS_COLUMN_RESOURCE_TYPE, "Resource Type"},
    {IDS_COLUMN_RESOURCE_GROUP_NAME, "Resource Group Name"},
    {IDS_COLUMN_RESOURCE_VOLUME, "Resource Volume [dB]"},
    {IDS_COLUMN_RESOURCE_INFO, "Resource Info"},
    {IDS_COLUMN_OBJECT_ID_UPPER, "Object ID"},
    {IDS_COLUMN_OBJECT_NAME, "Object Name"},
    {IDS_COLUMN_LOADING_EVENT, "Event"},
    {IDS_COLUMN_LOADING_DATA, "Data"},
};
}  // namespace

const char* QvString(int id) {
    for (const auto& [key, text] : kTexts)
        if (key == id) return text;
    return "";
}
