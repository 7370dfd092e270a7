// SPDX-License-Identifier: MIT
/**
 * @file zavcshared.h
 * @brief The shared error library.
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

/**
 * @brief Replaces the calling thread's error record.
 * @param[in] Vi               Not used; pass 0.
 * @param[in] ErrorCode        The status code to record.
 * @param[in] ErrorDescription The message to record, copied; NULL records "".
 * @retval VI_SUCCESS                    Success.
 * @retval ZAVCONFIG_ERROR_UNRECOVERABLE The copy of the text cannot be allocated (0xBFFA0000);
 *         the record then holds ErrorCode and the first 255 bytes of the text.
 */
ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_SetError(ViSession Vi, ViStatus ErrorCode,
                                                           ViConstString ErrorDescription);

/**
 * @brief Reads the calling thread's error record without clearing it.
 *
 * A thread with no record reads code 0 and "".
 * @param[in]  Vi               Not used; pass 0.
 * @param[out] ErrorCode        Receives the code when not NULL.
 * @param[in]  BufferSize       Size of ErrorDescription in bytes, NUL included:
 *                              - above 0: at most BufferSize - 1 bytes and a NUL are copied;
 *                              - 0 with a NULL buffer: nothing is copied;
 *                              - 0 with a buffer: the buffer is taken to hold
 *                                ZAVCONFIG_ERROR_DESCRIPTION_SIZE (256) bytes, so at most 255
 *                                bytes and a NUL are copied;
 *                              - below 0: the whole text is copied unchecked (the caller vouches
 *                                that it fits).
 * @param[out] ErrorDescription Receives the message.
 * @return 0 when the text was copied whole (or cut at 255 bytes with BufferSize 0); the size
 *         needed (length + 1) when it was cut with BufferSize above 0 or when BufferSize is 0 and
 *         ErrorDescription is NULL; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER ErrorDescription is NULL while BufferSize is not 0
 *                                      (0xBFFA0058).
 */
ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_GetError(ViSession Vi, ViStatus* ErrorCode,
                                                           ViInt32 BufferSize,
                                                           ViChar ErrorDescription[]);

/**
 * @brief Clears the calling thread's error record: it then reads as code 0 and "".
 * @param[in] Vi Not used; pass 0.
 * @retval VI_SUCCESS Success.
 */
ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_ClearError(ViSession Vi);

#ifdef __cplusplus
}
#endif

#endif /* ZAVCSHARED_H */
