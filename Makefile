# Two commands for a newcomer: `make run` and `make test`. Both install what
# is missing first (Debian packages, through apt).
.PHONY: run test deps build bench agreement fuzz soak clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset native && cmake --build --preset native
	cmake --preset win32 && cmake --build --preset win32

run: deps
	cmake --preset native && cmake --build --preset native --target voice
	cmake --preset win32 && cmake --build --preset win32 --target falamci vozsapi
	scripts/run.sh

test: deps
	scripts/test-all.sh

# Speed figures on the benchmark text (see benchmarks/); not part of the tests.
CORPUS ?= ../shared/corpus/pt-br-10k.txt
bench: deps
	cmake --preset native && cmake --build --preset native --target benchmarks
	FALAMCI_CORPUS=$(abspath $(CORPUS)) build/native/benchmarks/benchmarks

# How often the synthetic voice pronounces the corpus's words as espeak-ng does.
agreement: deps
	cmake --preset native && cmake --build --preset native --target voice agreement
	build/native/tools/agreement --data build/native/voice/drive_c/tarsis/aureatts $(abspath $(CORPUS))

# Every fuzz target for FUZZ_SECONDS each (default 60); executions and findings per target.
FUZZ_SECONDS ?= 60
fuzz: deps
	scripts/fuzz.sh $(FUZZ_SECONDS)

# A long falamci session under Wine (SOAK_CYCLES rounds of ten commands, default 30).
SOAK_CYCLES ?= 30
soak: deps
	cmake --preset native && cmake --build --preset native --target voice tradutor_tool voicetool
	cmake --preset win32 && cmake --build --preset win32 --target falamci console_win32_tests
	tests/soak/falamci_soak.sh build/win32/console/falamci.exe build/win32/tests/win32/console_win32_tests.exe \
	  build/native/voice build/native/tradutor build/native/tools/voicetool $(SOAK_CYCLES)

clean:
	rm -rf build
