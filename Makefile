# The two commands of the README: `make run` and `make test`. Both install what is
# missing first.
PRESET ?= release
BUILD_DIR := build/$(PRESET)
WORKDIR ?= workdir

.PHONY: deps build run test test-sanitize bench fuzz clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

# Builds only the program it runs. FILE=game.rom (or a .dsk/.dfd) starts with that cartridge
# or disk; afterwards the log's last lines are shown with the log's full path.
run: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET) --target tavir
	@scripts/prepare-workdir $(WORKDIR)
	@cd $(WORKDIR) && ../$(BUILD_DIR)/src/tavir $(if $(FILE),"$(abspath $(FILE))"); status=$$?; \
	  echo "--- last lines of $$(pwd)/TAVIRlog.txt ---"; tail -n 8 TAVIRlog.txt; exit $$status

test: build
	@ctest --preset $(PRESET)

test-sanitize:
	@$(MAKE) --no-print-directory test PRESET=sanitize

bench: build
	@$(BUILD_DIR)/bench/tavir_bench

# Each libFuzzer target on its checked-in seeds for FUZZ_SECONDS; what it finds beyond
# them goes to build/fuzz/corpus/<target>, crashes to build/fuzz/.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := config_fuzz cartridge_fuzz disk_fuzz z80_fuzz vdp_fuzz snapshot_fuzz
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz --target $(FUZZ_TARGETS)
	@set -e; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(CURDIR)/build/fuzz/corpus/$$target; \
	  echo "--- $$target, $(FUZZ_SECONDS) s"; \
	  build/fuzz/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -max_len=200000 -timeout=10 \
	    -artifact_prefix=$(CURDIR)/build/fuzz/$$target- -print_final_stats=1 \
	    $(CURDIR)/build/fuzz/corpus/$$target $(CURDIR)/fuzz/corpus/$$target 2>&1 | grep -E "DONE|stat::number_of_executed_units|ERROR|SUMMARY|Test unit written" || true; \
	  ls build/fuzz/$$target-* >/dev/null 2>&1 && { echo "$$target found a fault: build/fuzz/$$target-*"; exit 1; } || true; \
	done

clean:
	rm -rf build
