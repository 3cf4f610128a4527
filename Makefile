# Two commands for a newcomer: `make run` and `make test`. Both install what
# is missing first (Debian packages, through apt).
.PHONY: run test deps build dist bench agreement fuzz soak clean

deps:
	@scripts/install-deps.sh

# Both Windows builds: 32-bit (the product for 32-bit Windows) and 64-bit.
build: deps
	cmake --preset native && cmake --build --preset native
	cmake --preset win32 && cmake --build --preset win32
	cmake --preset win64 && cmake --build --preset win64

# The Windows release in build/dist: falamci-VERSION-x64.msi, -x86.msi and
# -portable.zip (scripts/dist.sh).
dist: deps
	scripts/dist.sh

# Starts the build this machine can run (FALAMCI_BITS=32 or 64 chooses).
run: deps
	scripts/run.sh

test: deps
	scripts/test-all.sh

# Speed figures on the benchmark text (see benchmarks/); not part of the tests.
CORPUS ?= ../shared/corpus/pt-br-10k.txt
bench: deps
	cmake --preset native && cmake --build --preset native --target benchmarks
	FALAMCI_CORPUS=$(abspath $(CORPUS)) build/native/benchmarks/benchmarks

# How often the synthetic voice pronounces words as espeak-ng does: the
# corpus's, and a fixed sample of wbrazilian's.
agreement: deps
	cmake --preset native && cmake --build --preset native --target voice agreement
	scripts/agreement.sh $(abspath $(CORPUS))

# Every fuzz target for FUZZ_SECONDS each (default 60); executions and findings per target.
FUZZ_SECONDS ?= 60
fuzz: deps
	scripts/fuzz.sh $(FUZZ_SECONDS)

# A long falamci session under Wine (SOAK_CYCLES rounds of ten commands,
# default 30), for the 64-bit build and, where the machine can, the 32-bit one.
SOAK_CYCLES ?= 30
soak: deps
	scripts/soak.sh $(SOAK_CYCLES)

clean:
	rm -rf build
