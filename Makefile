# The two commands of the README: `make run` and `make test`. Both install what is
# missing first.
PRESET ?= release
BUILD_DIR := build/$(PRESET)
WORKDIR ?= workdir

.PHONY: deps build run test test-sanitize bench clean

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

clean:
	rm -rf build
