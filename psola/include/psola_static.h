/* For programs that link psola statically (tests, native tools): the
 * address of an exported function by its name, as GetProcAddress would give
 * it from mbrola.dll; null for a name the engine does not export. */
#ifndef PSOLA_STATIC_H
#define PSOLA_STATIC_H

#ifdef __cplusplus
extern "C" {
#endif

void* psola_export(const char* name);

#ifdef __cplusplus
}
#endif

#endif
