# Two commands for a newcomer: `make run` and `make test`. Both install what
# is missing first (Debian packages, through apt).
.PHONY: run test deps build bench fuzz clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset native && cmake --build --preset native
	cmake --preset win32 && cmake --build --preset win32

run: deps
	cmake --preset native && cmake --build --preset native --target voice
	cmake --preset win32 && cmake --build --preset win32 --target falamci
	scripts/run.sh

test: deps
	scripts/test-all.sh

# Speed figures on the benchmark text (see benchmarks/); not part of the tests.
CORPUS ?= ../shared/corpus/pt-br-10k.txt
bench: deps
	cmake --preset native && cmake --build --preset native --target benchmarks
	FALAMCI_CORPUS=$(abspath $(CORPUS)) build/native/benchmarks/benchmarks

# Every fuzz target for FUZZ_SECONDS each (default 60); executions and findings per target.
FUZZ_SECONDS ?= 60
fuzz: deps
	scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf build
