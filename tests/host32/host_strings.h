/* Identifiers of the 32-bit host's own string table. */
#ifndef QUARNEL_HOST_STRINGS_H
#define QUARNEL_HOST_STRINGS_H
#define IDS_HOST_GREETING 7
#define IDS_HOST_WIDE 8
#endif
