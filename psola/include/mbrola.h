/* psola: a phoneme-line diphone synthesis engine.
 *
 * The library reads lines of phoneme names, durations and pitch targets and
 * produces signed 16-bit mono samples at 16000 Hz from a diphone database.
 * These are its 23 exported functions, the whole of its binary interface; on
 * Windows they are __stdcall and exported undecorated from mbrola.dll.
 *
 * One engine per process: every call works on the same state, which
 * init_MBR creates and close_MBR destroys. Nothing here is thread-safe.
 */
#ifndef PSOLA_MBROLA_H
#define PSOLA_MBROLA_H

#if defined(_WIN32)
#define MBR_API __stdcall
#if defined(PSOLA_BUILDING_DLL)
#define MBR_EXPORT __declspec(dllexport)
#else
#define MBR_EXPORT
#endif
#else
#define MBR_API
#define MBR_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Error numbers of lastError_MBR. */
enum {
  MBR_OK = 0,
  MBR_ERR_NOT_INITIALISED = 1,
  MBR_ERR_DATABASE_MISSING = 2,
  MBR_ERR_DATABASE_CORRUPT = 3,
  MBR_ERR_UNKNOWN_PHONEME = 4,
  MBR_ERR_MISSING_DIPHONE = 5,
  MBR_ERR_MALFORMED_LINE = 6,
  MBR_ERR_DURATION_RANGE = 7,
  MBR_ERR_PITCH_RANGE = 8,
  MBR_ERR_LINE_TOO_LONG = 9,
  MBR_ERR_TOO_MANY_PITCH_POINTS = 10,
  MBR_ERR_BAD_ARGUMENT = 11,
  MBR_ERR_RENAME = 12,
  MBR_ERR_PARSER = 13,
  MBR_ERR_INPUT_FULL = 14,
  MBR_ERR_INTERNAL = 15 /* a fault inside the engine (out of memory, say); reset_MBR clears it */
};

/* Sample types of readtype_MBR. */
enum { MBR_LIN16 = 0, MBR_LIN8 = 1, MBR_ULAW = 2, MBR_ALAW = 3 };

/* A custom source of phonemes for setParser_MBR. nextPhone stores a phone
 * made with init_Phone (the engine closes it) and returns 1, returns 0 when
 * no phone is ready yet, 2 at the end of an utterance, negative on error. */
typedef struct MbrParser {
  void* user;
  int(MBR_API* nextPhone)(void* user, void** phone);
  void(MBR_API* reset)(void* user);
} MbrParser;

MBR_EXPORT int MBR_API init_MBR(char* db);
MBR_EXPORT int MBR_API init_rename_MBR(char* db, char* rename, char* clone);
MBR_EXPORT int MBR_API write_MBR(char* lines);
MBR_EXPORT int MBR_API flush_MBR(void);
MBR_EXPORT int MBR_API read_MBR(short* buffer, int count);
MBR_EXPORT int MBR_API readtype_MBR(void* buffer, int count, int type);
MBR_EXPORT void MBR_API close_MBR(void);
MBR_EXPORT void MBR_API reset_MBR(void);
MBR_EXPORT int MBR_API lastError_MBR(void);
MBR_EXPORT char* MBR_API lastErrorStr_MBR(char* buffer, int size);
MBR_EXPORT void MBR_API setNoError_MBR(int noError);
MBR_EXPORT int MBR_API getNoError_MBR(void);
MBR_EXPORT void MBR_API setFreq_MBR(int freq);
MBR_EXPORT int MBR_API getFreq_MBR(void);
MBR_EXPORT void MBR_API setVolumeRatio_MBR(float ratio);
MBR_EXPORT float MBR_API getVolumeRatio_MBR(void);
MBR_EXPORT char* MBR_API getVersion_MBR(char* buffer, int size);
MBR_EXPORT int MBR_API getDatabaseInfo_MBR(char* buffer, int size, int index);
MBR_EXPORT void MBR_API setParser_MBR(void* parser);
MBR_EXPORT void* MBR_API init_Phone(char* name, float ms);
MBR_EXPORT int MBR_API reset_Phone(void* phone);
MBR_EXPORT void MBR_API close_Phone(void* phone);
MBR_EXPORT int MBR_API appendf0_Phone(void* phone, float position, float hz);

#ifdef __cplusplus
}
#endif

#endif
