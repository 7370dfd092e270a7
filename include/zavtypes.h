// SPDX-License-Identifier: MIT
/**
 * @file zavtypes.h
 * @brief The fixed-width types and constants of the configuration server's C boundary.
 *
 * The widths below are the binary interface: a status and a 32-bit integer are signed 32-bit,
 * handles, unsigned integers and property IDs are unsigned 32-bit, a boolean is unsigned 16-bit.
 * The typedefs are guarded as a group (ZAV_VI_TYPES_DEFINED, which a translation unit that
 * already has these type names with the same widths may define first) and each constant on its
 * own, so these headers can be used next to another header that provides them.
 */
#ifndef ZAVTYPES_H
#define ZAVTYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef ZAV_VI_TYPES_DEFINED
#define ZAV_VI_TYPES_DEFINED

typedef int32_t ViStatus;
typedef int32_t ViInt32;
typedef uint32_t ViUInt32;
typedef uint32_t ViSession;
typedef uint32_t ViAttr;
typedef uint16_t ViBoolean;
typedef double ViReal64;
typedef char ViChar;
typedef ViChar* ViString;
typedef const ViChar* ViConstString;

typedef ViStatus* ViPStatus;
typedef ViInt32* ViPInt32;
typedef ViUInt32* ViPUInt32;
typedef ViSession* ViPSession;
typedef ViAttr* ViPAttr;
typedef ViBoolean* ViPBoolean;
typedef ViReal64* ViPReal64;
typedef ViChar* ViPChar;

#endif /* ZAV_VI_TYPES_DEFINED */

#ifndef VI_SUCCESS
#define VI_SUCCESS 0
#endif
#ifndef VI_NULL
#define VI_NULL 0
#endif
#ifndef VI_TRUE
#define VI_TRUE 1
#endif
#ifndef VI_FALSE
#define VI_FALSE 0
#endif

#ifdef __cplusplus
}
#endif

#endif /* ZAVTYPES_H */
