#pragma once
// mbrola: the binding to the MBROLA engine library, loaded at run time by
// name. Its 23 exports are resolved by name; the voice driver calls them
// through mbrolaLibrary().
#include "platform/library.h"

namespace tradutor {

struct MbrolaLibrary {
  int(PLATFORM_STDCALL* init)(char* database);
  int(PLATFORM_STDCALL* initRename)(char* database, char* rename, char* clone);
  int(PLATFORM_STDCALL* write)(char* lines);
  int(PLATFORM_STDCALL* flush)();
  int(PLATFORM_STDCALL* read)(short* buffer, int count);
  int(PLATFORM_STDCALL* readType)(void* buffer, int count, int type);
  void(PLATFORM_STDCALL* close)();
  void(PLATFORM_STDCALL* reset)();
  int(PLATFORM_STDCALL* lastError)();
  char*(PLATFORM_STDCALL* lastErrorText)(char* buffer, int size);
  void(PLATFORM_STDCALL* setNoError)(int noError);
  int(PLATFORM_STDCALL* getNoError)();
  void(PLATFORM_STDCALL* setFrequency)(int frequency);
  int(PLATFORM_STDCALL* getFrequency)();
  void(PLATFORM_STDCALL* setVolumeRatio)(float ratio);
  float(PLATFORM_STDCALL* getVolumeRatio)();
  char*(PLATFORM_STDCALL* getVersion)(char* buffer, int size);
  int(PLATFORM_STDCALL* getDatabaseInfo)(char* buffer, int size, int index);
  void(PLATFORM_STDCALL* setParser)(void* parser);
  void*(PLATFORM_STDCALL* initPhone)(char* name, float ms);
  int(PLATFORM_STDCALL* resetPhone)(void* phone);
  void(PLATFORM_STDCALL* closePhone)(void* phone);
  int(PLATFORM_STDCALL* appendF0Phone)(void* phone, float position, float hz);
};

// The exports in the order they are resolved.
extern const char* const kMbrolaExports[23];

// LoadLibrary("mbrola.dll") and every export; false (and nothing held) when
// the library or any export is missing.
bool loadMbrolaLibrary();
void unloadMbrolaLibrary();
bool mbrolaLoaded();
// The entry points; valid while the library is loaded.
const MbrolaLibrary& mbrolaLibrary();

}  // namespace tradutor
