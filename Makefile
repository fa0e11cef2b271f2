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

run: build
	@scripts/prepare-workdir $(WORKDIR)
	@cd $(WORKDIR) && ../$(BUILD_DIR)/src/tavir; status=$$?; \
	  echo "--- $(WORKDIR)/TAVIRlog.txt ---"; cat TAVIRlog.txt; exit $$status

test: build
	@ctest --preset $(PRESET)

test-sanitize:
	@$(MAKE) --no-print-directory test PRESET=sanitize

bench: build
	@$(BUILD_DIR)/bench/tavir_bench

clean:
	rm -rf build
