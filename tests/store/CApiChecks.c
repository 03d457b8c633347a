#include "CApiChecks.h"

#include <string.h>

#define EXPECT(cond)         \
    do {                     \
        if (!(cond)) {       \
            return __LINE__; \
        }                    \
    } while (0)

_Static_assert(sizeof(DWORD) == 4, "DWORD is 32 bits");
_Static_assert(sizeof(LONG) == 4, "LONG is 32 bits");
_Static_assert((DWORD)-1 > 0, "DWORD is unsigned");
_Static_assert((LONG)-1 < 0, "LONG is signed");
_Static_assert(sizeof(BYTE) == 1, "BYTE is 8 bits");

static const char* const kBase = "Software\\Corvanta\\Fenmar\\CTest";

static DWORD Len(const char* s) {
    return (DWORD)strlen(s);
}

int CheckTypesHaveWin32Sizes(void) {
    EXPECT(ERROR_SUCCESS == 0);
    EXPECT(ERROR_FILE_NOT_FOUND == 2);
    EXPECT(ERROR_INVALID_HANDLE == 6);
    EXPECT(ERROR_MORE_DATA == 234);
    EXPECT(ERROR_NO_MORE_ITEMS == 259);
    EXPECT(REG_SZ == 1);
    EXPECT(REG_DWORD == 4);
    EXPECT(KEY_ALL_ACCESS == 0xF003F);
    EXPECT(REG_OPTION_NON_VOLATILE == 0);
    EXPECT(HKEY_CURRENT_USER != NULL);
    return 0;
}

int CheckCreateOpenClose(void) {
    HKEY key = NULL;
    HKEY again = NULL;
    HKEY missing = (HKEY)&key;
    DWORD disposition = 0;
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, kBase, 0, NULL, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, NULL, &key, &disposition) == ERROR_SUCCESS);
    EXPECT(key != NULL);
    EXPECT(disposition == REG_CREATED_NEW_KEY);
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, kBase, 0, NULL, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, NULL, &again, &disposition) == ERROR_SUCCESS);
    EXPECT(disposition == REG_OPENED_EXISTING_KEY);
    EXPECT(RegCloseKey(again) == ERROR_SUCCESS);

    /* Nested creation below an open key, missing parents included. */
    EXPECT(RegCreateKeyExA(key, "Deep\\Er\\Est", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &again, NULL) ==
           ERROR_SUCCESS);
    EXPECT(RegCloseKey(again) == ERROR_SUCCESS);
    EXPECT(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvanta\\Fenmar\\CTest\\Deep\\Er", 0,
                         KEY_ALL_ACCESS, &again) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(again) == ERROR_SUCCESS);

    /* Opening a missing key fails and hands out nothing. */
    EXPECT(RegOpenKeyExA(key, "Nope", 0, KEY_READ, &missing) == ERROR_FILE_NOT_FOUND);
    EXPECT(missing == NULL);

    /* NULL or "" opens the same key once more. */
    EXPECT(RegOpenKeyExA(key, NULL, 0, KEY_READ, &again) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(again) == ERROR_SUCCESS);
    EXPECT(RegOpenKeyExA(key, "", 0, KEY_READ, &again) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(again) == ERROR_SUCCESS);

    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(HKEY_CURRENT_USER) == ERROR_SUCCESS);
    return 0;
}

int CheckSetAndQueryValues(void) {
    HKEY key = NULL;
    DWORD type = 0;
    DWORD size = 0;
    DWORD number = 0x11223344u;
    BYTE buf[64];
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, kBase, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                           NULL) == ERROR_SUCCESS);
    /* A text with its terminating zero, as C code usually writes it. */
    EXPECT(RegSetValueExA(key, "Greeting", 0, REG_SZ, (const BYTE*)"hello", 6) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "Number", 0, REG_DWORD, (const BYTE*)&number, sizeof number) ==
           ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)"dflt", 4) == ERROR_SUCCESS);

    size = sizeof buf;
    EXPECT(RegQueryValueExA(key, "Greeting", NULL, &type, buf, &size) == ERROR_SUCCESS);
    EXPECT(type == REG_SZ);
    EXPECT(size == 6);
    EXPECT(strcmp((const char*)buf, "hello") == 0);

    size = sizeof buf;
    EXPECT(RegQueryValueExA(key, "Number", NULL, &type, buf, &size) == ERROR_SUCCESS);
    EXPECT(type == REG_DWORD);
    EXPECT(size == 4);
    EXPECT(memcmp(buf, &number, 4) == 0);

    /* The default value: NULL or "" as the name. */
    size = sizeof buf;
    memset(buf, 'x', sizeof buf);
    EXPECT(RegQueryValueExA(key, "", NULL, &type, buf, &size) == ERROR_SUCCESS);
    EXPECT(size == 4);
    EXPECT(strcmp((const char*)buf, "dflt") == 0); /* zero added when there is room */

    /* Type only, no data. */
    type = 0;
    EXPECT(RegQueryValueExA(key, "Number", NULL, &type, NULL, NULL) == ERROR_SUCCESS);
    EXPECT(type == REG_DWORD);

    EXPECT(RegQueryValueExA(key, "Absent", NULL, &type, buf, &size) == ERROR_FILE_NOT_FOUND);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    return 0;
}

int CheckQueryBufferRules(void) {
    HKEY key = NULL;
    DWORD size = 0;
    char small[4];
    const char* text = "0123456789";
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, kBase, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                           NULL) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "Ten", 0, REG_SZ, (const BYTE*)text, Len(text)) == ERROR_SUCCESS);
    /* Size only. */
    EXPECT(RegQueryValueExA(key, "Ten", NULL, NULL, NULL, &size) == ERROR_SUCCESS);
    EXPECT(size == 10);
    /* Too small: ERROR_MORE_DATA and the size needed. */
    size = sizeof small;
    EXPECT(RegQueryValueExA(key, "Ten", NULL, NULL, (LPBYTE)small, &size) == ERROR_MORE_DATA);
    EXPECT(size == 10);
    /* Exactly big enough: no room for a zero, none written past the end. */
    {
        char exact[11];
        exact[10] = '#';
        size = 10;
        EXPECT(RegQueryValueExA(key, "Ten", NULL, NULL, (LPBYTE)exact, &size) == ERROR_SUCCESS);
        EXPECT(size == 10);
        EXPECT(memcmp(exact, text, 10) == 0);
        EXPECT(exact[10] == '#');
    }
    /* Data without a size is an error. */
    EXPECT(RegQueryValueExA(key, "Ten", NULL, NULL, (LPBYTE)small, NULL) ==
           ERROR_INVALID_PARAMETER);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    return 0;
}

int CheckNamesIgnoreCase(void) {
    HKEY key = NULL;
    BYTE buf[16];
    DWORD size = sizeof buf;
    EXPECT(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\corvanta\\FENMAR\\ctest", 0, KEY_ALL_ACCESS,
                         &key) == ERROR_SUCCESS);
    EXPECT(RegQueryValueExA(key, "GREETING", NULL, NULL, buf, &size) == ERROR_SUCCESS);
    EXPECT(strcmp((const char*)buf, "hello") == 0);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    return 0;
}

int CheckEnumerateValuesInOrder(void) {
    HKEY key = NULL;
    char name[256];
    BYTE data[256];
    DWORD nameLength = 0;
    DWORD dataSize = 0;
    DWORD type = 0;
    DWORD i = 0;
    const char* const expected[] = {"zz", "aa", "mm"};
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvanta\\Fenmar\\CEnum", 0, NULL, 0,
                           KEY_ALL_ACCESS, NULL, &key, NULL) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "zz", 0, REG_SZ, (const BYTE*)"1", 1) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "aa", 0, REG_SZ, (const BYTE*)"2", 1) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "mm", 0, REG_SZ, (const BYTE*)"3", 1) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "ZZ", 0, REG_SZ, (const BYTE*)"4", 1) == ERROR_SUCCESS);
    for (i = 0; i < 3; ++i) {
        nameLength = sizeof name;
        dataSize = sizeof data;
        EXPECT(RegEnumValueA(key, i, name, &nameLength, NULL, &type, data, &dataSize) ==
               ERROR_SUCCESS);
        EXPECT(strcmp(name, expected[i]) == 0);
        EXPECT(nameLength == 2);
        EXPECT(type == REG_SZ);
        EXPECT(dataSize == 1);
    }
    /* "zz" was rewritten as "ZZ": it kept its place, its name and got the new data. */
    nameLength = sizeof name;
    dataSize = sizeof data;
    EXPECT(RegEnumValueA(key, 0, name, &nameLength, NULL, &type, data, &dataSize) == ERROR_SUCCESS);
    EXPECT(data[0] == '4');
    nameLength = sizeof name;
    EXPECT(RegEnumValueA(key, 3, name, &nameLength, NULL, NULL, NULL, NULL) == ERROR_NO_MORE_ITEMS);
    /* A name buffer too small. */
    nameLength = 2;
    EXPECT(RegEnumValueA(key, 1, name, &nameLength, NULL, NULL, NULL, NULL) == ERROR_MORE_DATA);
    /* A data buffer too small: the size needed. */
    EXPECT(RegSetValueExA(key, "long", 0, REG_SZ, (const BYTE*)"abcdefgh", 8) == ERROR_SUCCESS);
    nameLength = sizeof name;
    dataSize = 3;
    EXPECT(RegEnumValueA(key, 3, name, &nameLength, NULL, NULL, data, &dataSize) ==
           ERROR_MORE_DATA);
    EXPECT(dataSize == 8);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    return 0;
}

int CheckEnumerateSubkeysSorted(void) {
    HKEY key = NULL;
    HKEY sub = NULL;
    char name[256];
    DWORD length = 0;
    DWORD i = 0;
    FILETIME when;
    const char* const created[] = {"beta", "Alpha", "gamma", "ALPHA"};
    const char* const expected[] = {"Alpha", "beta", "gamma"};
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvanta\\Fenmar\\CKeys", 0, NULL, 0,
                           KEY_ALL_ACCESS, NULL, &key, NULL) == ERROR_SUCCESS);
    for (i = 0; i < 4; ++i) {
        EXPECT(RegCreateKeyExA(key, created[i], 0, NULL, 0, KEY_ALL_ACCESS, NULL, &sub, NULL) ==
               ERROR_SUCCESS);
        EXPECT(RegCloseKey(sub) == ERROR_SUCCESS);
    }
    for (i = 0; i < 3; ++i) {
        length = sizeof name;
        EXPECT(RegEnumKeyExA(key, i, name, &length, NULL, NULL, NULL, &when) == ERROR_SUCCESS);
        EXPECT(strcmp(name, expected[i]) == 0);
        EXPECT(length == strlen(expected[i]));
    }
    length = sizeof name;
    EXPECT(RegEnumKeyExA(key, 3, name, &length, NULL, NULL, NULL, NULL) == ERROR_NO_MORE_ITEMS);
    length = 3; /* "Alpha" needs 6 */
    EXPECT(RegEnumKeyExA(key, 0, name, &length, NULL, NULL, NULL, NULL) == ERROR_MORE_DATA);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    return 0;
}

int CheckDeleteValueAndKey(void) {
    HKEY key = NULL;
    HKEY sub = NULL;
    HKEY kept = NULL;
    DWORD one = 1;
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvanta\\Fenmar\\CDel\\A\\B", 0, NULL, 0,
                           KEY_ALL_ACCESS, NULL, &sub, NULL) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(sub, "v", 0, REG_DWORD, (const BYTE*)&one, 4) == ERROR_SUCCESS);
    EXPECT(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvanta\\Fenmar\\CDel", 0, KEY_ALL_ACCESS,
                         &key) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "w", 0, REG_DWORD, (const BYTE*)&one, 4) == ERROR_SUCCESS);
    EXPECT(RegDeleteValueA(key, "W") == ERROR_SUCCESS);
    EXPECT(RegDeleteValueA(key, "w") == ERROR_FILE_NOT_FOUND);

    /* Deleting a key takes everything below it. */
    EXPECT(RegDeleteKeyA(key, "a") == ERROR_SUCCESS);
    EXPECT(RegOpenKeyExA(key, "A\\B", 0, KEY_READ, &kept) == ERROR_FILE_NOT_FOUND);
    EXPECT(RegDeleteKeyA(key, "A") == ERROR_FILE_NOT_FOUND);
    /* A handle of a deleted key. */
    EXPECT(RegSetValueExA(sub, "v", 0, REG_DWORD, (const BYTE*)&one, 4) == ERROR_KEY_DELETED);
    EXPECT(RegCloseKey(sub) == ERROR_SUCCESS);
    /* The key itself cannot be deleted through its own handle with an empty name. */
    EXPECT(RegDeleteKeyA(key, "") == ERROR_INVALID_PARAMETER);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    return 0;
}

int CheckInvalidHandlesAndArguments(void) {
    HKEY key = NULL;
    HKEY bogus = (HKEY)&key;
    DWORD size = 0;
    char name[8];
    EXPECT(RegCloseKey(bogus) == ERROR_INVALID_HANDLE);
    EXPECT(RegOpenKeyExA(bogus, "x", 0, KEY_READ, &key) == ERROR_INVALID_HANDLE);
    EXPECT(RegQueryValueExA(bogus, "x", NULL, NULL, NULL, &size) == ERROR_INVALID_HANDLE);
    EXPECT(RegSetValueExA(bogus, "x", 0, REG_SZ, (const BYTE*)"", 0) == ERROR_INVALID_HANDLE);
    size = sizeof name;
    EXPECT(RegEnumKeyExA(bogus, 0, name, &size, NULL, NULL, NULL, NULL) == ERROR_INVALID_HANDLE);
    EXPECT(RegOpenKeyExA(HKEY_CURRENT_USER, "x", 0, KEY_READ, NULL) == ERROR_INVALID_PARAMETER);
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, NULL, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
           ERROR_INVALID_PARAMETER);
    EXPECT(RegSetValueExA(HKEY_CURRENT_USER, "x", 0, REG_SZ, NULL, 3) == ERROR_INVALID_PARAMETER);
    /* A closed handle is no longer valid. */
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                           NULL) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(key) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(key) == ERROR_INVALID_HANDLE);
    return 0;
}

int SaveLikeAPlugIn(HKEY key) {
    HKEY sub = NULL;
    DWORD volume = 70;
    EXPECT(RegSetValueExA(key, "Nick", 0, REG_SZ, (const BYTE*)"Ranger", 7) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(key, "Volume", 0, REG_DWORD, (const BYTE*)&volume, sizeof volume) ==
           ERROR_SUCCESS);
    EXPECT(RegCreateKeyExA(key, "Colors", 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                           &sub, NULL) == ERROR_SUCCESS);
    EXPECT(RegSetValueExA(sub, "Shirt", 0, REG_SZ, (const BYTE*)"red", 3) == ERROR_SUCCESS);
    EXPECT(RegCloseKey(sub) == ERROR_SUCCESS);
    return 0;
}

int CheckWithoutStore(void) {
    HKEY key = NULL;
    EXPECT(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_INVALID_HANDLE);
    EXPECT(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                           NULL) == ERROR_INVALID_HANDLE);
    return 0;
}
