#pragma once

// The ITEMS text of the seven built-in variables, as a host receives it.
inline constexpr const char* kBuiltInItemsText =
    "Full data packet|FULL_DATA_PACKET|String|\r\n"
    "Data packet|DATA_PACKET|String|\r\n"
    "Datetime stamp|DATE_TIME_STAMP|DateTime|\r\n"
    "Data source ID|DATA_SOURCE_ID|Integer|\r\n"
    "Data source name|DATA_SOURCE_NAME|String|\r\n"
    "Data source full name|DATA_SOURCE_FULL_NAME|String|\r\n"
    "Client ID|CLIENTID|Integer|";
