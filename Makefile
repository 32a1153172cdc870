# The README's two commands: make run, make test (and make run-tintora).
BUILD       ?= build
BUILD_ASAN  ?= build-asan
JOBS        ?= $(shell nproc)

.PHONY: deps configure build run run-tintora test test-sanitize bench clean fuzz-smoke

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/Dotwright

run-tintora: build
	$(BUILD)/tintora/Tintora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDW_SANITIZE=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The fuzzers, a few seconds each on a scratch copy of the seed corpus.
BUILD_FUZZ  ?= build-fuzz
FUZZERS     := fuzz_xml_parser fuzz_project_file fuzz_grid
fuzz-smoke:
	@cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDW_FUZZ=ON -DDW_SANITIZE=ON \
	  -DDW_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS) --target $(FUZZERS)
	@for f in $(FUZZERS); do \
	  rm -rf $(BUILD_FUZZ)/corpus-$$f && cp -r fuzz/corpus $(BUILD_FUZZ)/corpus-$$f || exit 1; \
	  echo "== $$f"; \
	  if ! ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(BUILD_FUZZ)/fuzz/$$f -max_total_time=5 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    $(BUILD_FUZZ)/corpus-$$f >$(BUILD_FUZZ)/$$f.log 2>&1; then \
	    tail -n 60 $(BUILD_FUZZ)/$$f.log; exit 1; \
	  fi; \
	  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units)' $(BUILD_FUZZ)/$$f.log; \
	done

# Every benchmark executable (not the build's bench_*_autogen folders), headless
# as the tests are; the first one that fails stops the run with its status.
bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -f $$b ] && [ -x $$b ] || continue; \
	  echo "== $$b"; \
	  QT_QPA_PLATFORM=offscreen $$b || exit $$?; \
	done

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
