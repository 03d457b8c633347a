/* Checks of the plug-in registry functions, written in C as a plug-in would use them.
 * Each returns 0 when it holds, else the source line of the first failed expectation. The
 * C++ side (CApiTest.cpp) sets the store first and reports the line. */
#ifndef FENMAR_TESTS_CAPI_CHECKS_H
#define FENMAR_TESTS_CAPI_CHECKS_H

#include "fenmar/store.h"

#ifdef __cplusplus
extern "C" {
#endif

int CheckTypesHaveWin32Sizes(void);
int CheckCreateOpenClose(void);
int CheckSetAndQueryValues(void);
int CheckQueryBufferRules(void);
int CheckNamesIgnoreCase(void);
int CheckEnumerateValuesInOrder(void);
int CheckEnumerateSubkeysSorted(void);
int CheckDeleteValueAndKey(void);
int CheckInvalidHandlesAndArguments(void);
/* What a plug-in's PI_SaveSettings does with the key it is handed. */
int SaveLikeAPlugIn(HKEY key);
/* With no store set, HKEY_CURRENT_USER is not usable. */
int CheckWithoutStore(void);

#ifdef __cplusplus
}
#endif

#endif
