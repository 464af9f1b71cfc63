/* Identifiers of the test string tables, shared by the .rc files and the
 * tests. Blocks hold 16 identifiers each: block 1 is 0-15, block 2 16-31. */
#ifndef QUARNEL_TEST_STRINGS_H
#define QUARNEL_TEST_STRINGS_H

#define IDS_FIRST 0
#define IDS_BLOCK1_LAST 15
#define IDS_BLOCK2_FIRST 16
#define IDS_ESCAPES 17
#define IDS_WHO 18 /* says which module the table belongs to */
#define IDS_GAP 19 /* no entry, though block 2 exists */
#define IDS_EMPTY 20
#define IDS_UTF8 21
#define IDS_WIDE 22
#define IDS_JOINED 23
#define IDS_BLOCK3_BASE 32
#define IDS_BLOCK3_LAST (IDS_BLOCK3_BASE + 15)
#define IDS_NEUTRAL_AND_GERMAN 48
#define IDS_GERMAN_ONLY 64
#define IDS_NO_BLOCK 100
#define IDS_HIGHEST 65535

#endif
