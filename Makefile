# The two commands of the README, and the few around them.
#   make demo     the product's main job, on the bundled sample
#   make test     install what is missing, build, run every test
#   make install  install the filter (and what later parts add) into the system's CUPS
#   make bench    the filter's speed and memory benchmark (by hand, not in CI)

TEST_BUILD    := build/test
RELEASE_BUILD := build/release
JOBS          ?= 2

.PHONY: deps test release demo install bench clean

deps:
	@bash scripts/install-deps.sh

test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJOBLOG_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j$(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j$(JOBS)

release: deps
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_BUILD) -j$(JOBS)

demo: release
	@bash scripts/demo.sh $(RELEASE_BUILD)

install: release
	cmake --install $(RELEASE_BUILD)

bench: release
	bash bench/run.sh $(RELEASE_BUILD)

clean:
	rm -rf build
