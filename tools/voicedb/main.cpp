// voicedb: records the synthetic voice's diphone database with espeak-ng.
//
//   voicedb --phonemes TABLE.tsv --diphones LIST.dfn --out FILE
//
// Every pair of the diphone list is spoken in a carrier word from phoneme
// input at a constant pitch, resampled to 16 kHz, cut at the steadiest points
// of its two phonemes, given pitch marks and brought to a common level per
// phoneme. The output is the same, byte for byte, for the same inputs and
// the same espeak-ng.
#include <espeak-ng/speak_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "carrier.h"
#include "database.h"
#include "diphone_cutter.h"
#include "espeak_recorder.h"
#include "resample.h"
#include "voice_tables.h"

namespace {

using namespace voicedb;

constexpr int kEspeakPitch = 75;  // about 118 Hz with the pitch range at 0
// Diphone i is recorded by worker i % kWorkers, each in a process of its own
// (espeak-ng keeps global state). Fixed, so that the output does not depend
// on the machine.
constexpr int kWorkers = 2;

// fwrite and fread of a vector, which may be empty (and its data() null).
template <typename T>
bool writeAll(std::FILE* f, const std::vector<T>& v) {
  return v.empty() || std::fwrite(v.data(), sizeof(T), v.size(), f) == v.size();
}
template <typename T>
bool readAll(std::FILE* f, std::vector<T>& v) {
  return v.empty() || std::fread(v.data(), sizeof(T), v.size(), f) == v.size();
}

bool saveCuts(const std::string& path, const std::vector<CutDiphone>& cuts) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = true;
  for (const CutDiphone& c : cuts) {
    const std::uint32_t head[6] = {static_cast<std::uint32_t>(c.left), static_cast<std::uint32_t>(c.right), c.cutStart,
                                   c.boundary, c.cutEnd, static_cast<std::uint32_t>(c.samples.size())};
    const std::uint32_t marks = static_cast<std::uint32_t>(c.marks.size());
    ok = ok && std::fwrite(head, sizeof head, 1, f) == 1 && writeAll(f, c.samples) &&
         std::fwrite(&marks, sizeof marks, 1, f) == 1 && writeAll(f, c.marks);
  }
  return std::fclose(f) == 0 && ok;
}

bool loadCuts(const std::string& path, std::vector<CutDiphone>& cuts) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  bool ok = true;
  for (CutDiphone& c : cuts) {
    std::uint32_t head[6], marks = 0;
    ok = ok && std::fread(head, sizeof head, 1, f) == 1;
    if (!ok) break;
    c.left = static_cast<int>(head[0]);
    c.right = static_cast<int>(head[1]);
    c.cutStart = head[2];
    c.boundary = head[3];
    c.cutEnd = head[4];
    c.samples.resize(head[5]);
    ok = readAll(f, c.samples) && std::fread(&marks, sizeof marks, 1, f) == 1;
    if (!ok) break;
    c.marks.resize(marks);
    ok = readAll(f, c.marks);
  }
  std::fclose(f);
  return ok;
}

// Where each carrier phoneme lies in the padded 16 kHz recording; false when
// espeak-ng did not say the phonemes asked for. espeak-ng may put a short
// transition of its own between two of them (";" between "i" and "a"): its
// first half goes to the phoneme before, its second half to the one after.
bool locate(const std::vector<PhonemeEntry>& table, const Carrier& c, const Recording& r, std::vector<Span>& spans) {
  std::vector<double> starts, ends;
  std::size_t next = 0;
  for (std::size_t e = 0; e < r.onsets.size(); ++e) {
    const double endMs = e + 1 < r.onsets.size() ? r.onsets[e + 1].ms : r.endMs;
    if (next < c.phonemes.size() && r.onsets[e].name == table[c.phonemes[next]].espeak) {
      starts.push_back(r.onsets[e].ms);
      ends.push_back(endMs);
      ++next;
      continue;
    }
    if (next == 0 || next == c.phonemes.size()) return false;
    const double middle = (r.onsets[e].ms + endMs) / 2;
    ends.back() = middle;
    if (e + 1 >= r.onsets.size()) return false;
    // The next expected phoneme starts at the middle of the transition.
    if (r.onsets[e + 1].name != table[c.phonemes[next]].espeak) return false;
    starts.push_back(middle);
    ends.push_back(e + 2 < r.onsets.size() ? r.onsets[e + 2].ms : r.endMs);
    ++next;
    ++e;
  }
  if (next != c.phonemes.size()) return false;
  spans.clear();
  for (std::size_t i = 0; i < starts.size(); ++i) {
    spans.push_back({kPadding + std::lround(starts[i] * kRate / 1000.0), kPadding + std::lround(ends[i] * kRate / 1000.0)});
    if (spans.back().end <= spans.back().start) return false;
  }
  return true;
}

bool recordDiphone(EspeakRecorder& espeak, const std::vector<PhonemeEntry>& table, int left, int right, CutDiphone& out) {
  out = CutDiphone{};
  out.left = left;
  out.right = right;
  if (table[left].kind == PhonemeClass::silence && table[right].kind == PhonemeClass::silence) {
    out.samples.assign(2 * (kSilenceHalf + kMargin), 0.0f);
    out.cutStart = kMargin;
    out.boundary = kMargin + kSilenceHalf;
    out.cutEnd = kMargin + 2 * kSilenceHalf;
    return true;
  }
  const Carrier carrier = makeCarrier(table, left, right);
  // Mnemonics that would run together are tried apart, with espeak-ng's
  // syllable break and then its word break.
  for (const char* separator : {"", "-", "||"}) {
    Recording r;
    if (!espeak.record(carrierText(table, carrier, separator), r)) continue;
    std::vector<Span> spans;
    if (!locate(table, carrier, r, spans)) continue;
    std::vector<float> padded(kPadding, 0.0f);
    const std::vector<float> at16k = resample(r.samples, r.rate, kRate);
    padded.insert(padded.end(), at16k.begin(), at16k.end());
    padded.insert(padded.end(), kPadding, 0.0f);
    highPass(padded, 60, kRate);
    if (cutDiphone(table, carrier, padded, spans, kPadding + static_cast<long>(at16k.size()), out)) return true;
  }
  std::fprintf(stderr, "voicedb: espeak-ng does not say the carrier of %s-%s as asked: [[%s]]\n",
               table[left].name.c_str(), table[right].name.c_str(), carrierText(table, carrier, "").c_str());
  return false;
}

double rmsAround(const std::vector<float>& x, long centre) {
  double sum = 0;
  long n = 0;
  for (long t = centre - 160; t < centre + 160; ++t)
    if (t >= 0 && t < static_cast<long>(x.size())) sum += x[t] * x[t], ++n;
  return n > 0 ? std::sqrt(sum / n) : 0;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// Each phoneme gets one level at its centre, the median over its diphones; a
// diphone is scaled by a ramp from its left phoneme's gain to its right's.
void normaliseLevels(const std::vector<PhonemeEntry>& table, std::vector<CutDiphone>& diphones) {
  std::vector<std::vector<double>> levels(table.size());
  for (const CutDiphone& d : diphones) {
    levels[d.left].push_back(rmsAround(d.samples, d.cutStart));
    levels[d.right].push_back(rmsAround(d.samples, d.cutEnd));
  }
  std::vector<double> reference(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) reference[i] = median(levels[i]);
  auto gainFor = [&](int phoneme, double level) {
    if (table[phoneme].kind == PhonemeClass::silence || level < 30 || reference[phoneme] < 30) return 1.0;
    return std::clamp(reference[phoneme] / level, 0.25, 4.0);
  };
  for (CutDiphone& d : diphones) {
    const double g0 = gainFor(d.left, rmsAround(d.samples, d.cutStart));
    const double g1 = gainFor(d.right, rmsAround(d.samples, d.cutEnd));
    const double span = std::max(1.0, static_cast<double>(d.cutEnd) - d.cutStart);
    for (std::size_t t = 0; t < d.samples.size(); ++t) {
      const double f = std::clamp((static_cast<double>(t) - d.cutStart) / span, 0.0, 1.0);
      d.samples[t] *= static_cast<float>(g0 + (g1 - g0) * f);
    }
  }
  // One scale for the whole voice: the vowel "a" at a speaking level, and
  // never a peak beyond the 16-bit range.
  double peak = 1;
  for (const CutDiphone& d : diphones)
    for (float s : d.samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
  int a = 0;
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].name == "a") a = static_cast<int>(i);
  const double scale = std::min(reference[a] > 0 ? 5000.0 / reference[a] : 1.0, 32000.0 / peak);
  for (CutDiphone& d : diphones)
    for (float& s : d.samples) s = static_cast<float>(s * scale);
}

psola::Database assemble(const std::vector<PhonemeEntry>& table, const std::vector<CutDiphone>& diphones) {
  psola::Database db;
  db.sampleRate = kRate;
  for (const PhonemeEntry& e : table) db.phonemes.push_back({e.name, static_cast<std::uint8_t>(e.voiced ? psola::kPhonemeVoiced : 0)});
  for (const CutDiphone& c : diphones) {
    psola::Diphone d;
    d.left = static_cast<std::uint16_t>(c.left);
    d.right = static_cast<std::uint16_t>(c.right);
    d.sampleOffset = static_cast<std::uint32_t>(db.samples.size());
    d.sampleCount = static_cast<std::uint32_t>(c.samples.size());
    d.cutStart = c.cutStart;
    d.boundary = c.boundary;
    d.cutEnd = c.cutEnd;
    d.markOffset = static_cast<std::uint32_t>(db.marks.size());
    d.markCount = static_cast<std::uint32_t>(c.marks.size());
    for (float s : c.samples)
      db.samples.push_back(static_cast<std::int16_t>(std::clamp(std::lround(s), -32768L, 32767L)));
    for (std::uint32_t m : c.marks) db.marks.push_back(m << 1 | 1);
    db.diphones.push_back(d);
  }
  const char* version = nullptr;
  espeak_Info(&version);
  db.info = "name: br4\nlanguage: Brazilian Portuguese\nrecorded from espeak-ng " + std::string(version ? version : "?") +
            " (pt-br) at a constant pitch\n";
  return db;
}

int usage() {
  std::fprintf(stderr, "usage: voicedb --phonemes TABLE.tsv --diphones LIST.dfn --out FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string phonemesPath, diphonesPath, outPath;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--phonemes") == 0) phonemesPath = argv[i + 1];
    else if (std::strcmp(argv[i], "--diphones") == 0) diphonesPath = argv[i + 1];
    else if (std::strcmp(argv[i], "--out") == 0) outPath = argv[i + 1];
    else return usage();
  }
  if (phonemesPath.empty() || diphonesPath.empty() || outPath.empty() || argc % 2 == 0) return usage();

  std::vector<PhonemeEntry> table;
  std::vector<std::pair<int, int>> pairs;
  if (!loadPhonemeTable(phonemesPath, table) || !loadDiphoneList(diphonesPath, table, pairs)) return 1;
  std::vector<CutDiphone> diphones(pairs.size());
  std::vector<pid_t> workers;
  for (int w = 0; w < kWorkers; ++w) {
    const pid_t pid = fork();
    if (pid < 0) return std::fprintf(stderr, "voicedb: cannot start a worker\n"), 1;
    if (pid > 0) {
      workers.push_back(pid);
      continue;
    }
    EspeakRecorder espeak;
    if (!espeak.open("pt-br", kEspeakPitch)) {
      std::fprintf(stderr, "voicedb: espeak-ng cannot speak pt-br\n");
      _exit(1);
    }
    std::vector<CutDiphone> mine;
    for (std::size_t i = static_cast<std::size_t>(w); i < pairs.size(); i += kWorkers) {
      mine.emplace_back();
      if (!recordDiphone(espeak, table, pairs[i].first, pairs[i].second, mine.back())) _exit(1);
    }
    _exit(saveCuts(outPath + ".worker" + std::to_string(w), mine) ? 0 : 1);
  }
  bool recorded = true;
  for (pid_t pid : workers) {
    int status = 0;
    recorded = waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && recorded;
  }
  for (int w = 0; w < kWorkers && recorded; ++w) {
    std::vector<CutDiphone> mine((pairs.size() + kWorkers - 1 - w) / kWorkers);
    const std::string part = outPath + ".worker" + std::to_string(w);
    recorded = loadCuts(part, mine);
    std::remove(part.c_str());
    for (std::size_t k = 0; k < mine.size(); ++k) diphones[w + k * kWorkers] = std::move(mine[k]);
  }
  if (!recorded) return std::fprintf(stderr, "voicedb: recording the diphones failed\n"), 1;
  normaliseLevels(table, diphones);
  const psola::Database db = assemble(table, diphones);
  std::string why;
  if (!psola::validateDatabase(db, why)) {
    std::fprintf(stderr, "voicedb: the database made is not valid: %s\n", why.c_str());
    return 1;
  }
  const std::string temporary = outPath + ".part";
  if (!psola::saveDatabase(temporary, db) || std::rename(temporary.c_str(), outPath.c_str()) != 0) {
    std::fprintf(stderr, "voicedb: cannot write %s\n", outPath.c_str());
    return 1;
  }
  std::printf("voicedb: %zu diphones, %zu samples, %zu pitch marks in %s\n", db.diphones.size(), db.samples.size(),
              db.marks.size(), outPath.c_str());
  return 0;
}
