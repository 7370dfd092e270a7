/*
 * zavcshared.h - the shared error library.
 *
 * It keeps one error record (a status code and a message text) per thread: a thread sees only
 * the errors recorded on it, and a thread with no record reads code 0 and the empty text.
 * Reading a record does not clear it; ZavSession_ClearError does. The configuration server
 * records every failure here, and ZavConfig_GetError / ZavConfig_ClearError forward to it.
 * The three functions are safe to call from any number of threads at once. The session
 * argument Vi is accepted for compatibility and not used; callers pass 0.
 */
#ifndef ZAVCSHARED_H
#define ZAVCSHARED_H

#include "zavtypes.h"

/* Calling convention, shared with the configuration server: standard call on 32-bit Windows. */
#ifndef ZAVCONFIG_FUNC
#if defined(_WIN32) && !defined(_WIN64)
#define ZAVCONFIG_FUNC __stdcall
#else
#define ZAVCONFIG_FUNC
#endif
#endif

/* Export marker; the library's own build defines it to make the functions visible. */
#ifndef ZAVCSHARED_API
#define ZAVCSHARED_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** Replaces the calling thread's record with ErrorCode and a copy of ErrorDescription
 *  (NULL records the empty text). Returns 0, or 0xBFFA0000 when the copy cannot be allocated:
 *  the record then holds ErrorCode and the first 255 bytes of the text. */
ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_SetError(ViSession Vi, ViStatus ErrorCode,
                                                           ViConstString ErrorDescription);

/** Reads the calling thread's record. The code is written when ErrorCode is not NULL.
 *  The text, by BufferSize (bytes, NUL included):
 *    > 0  copies at most BufferSize - 1 bytes and a NUL; returns the needed size (length + 1)
 *         when the text was cut, else 0; a NULL buffer fails with 0xBFFA0058
 *         (ZAVCONFIG_ERROR_NULL_POINTER);
 *    0    with a NULL buffer copies nothing and returns the needed size; with a buffer, the
 *         buffer is taken to hold ZAVCONFIG_ERROR_DESCRIPTION_SIZE (256) bytes: at most 255
 *         bytes and a NUL are copied and 0 is returned;
 *    < 0  copies the whole text with its NUL, unchecked, and returns 0; a NULL buffer fails
 *         with 0xBFFA0058. */
ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_GetError(ViSession Vi, ViStatus* ErrorCode,
                                                           ViInt32 BufferSize,
                                                           ViChar ErrorDescription[]);

/** Clears the calling thread's record: it then reads as code 0 and the empty text. Returns 0. */
ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_ClearError(ViSession Vi);

#ifdef __cplusplus
}
#endif

#endif /* ZAVCSHARED_H */
