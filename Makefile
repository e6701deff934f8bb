# The two commands a new machine needs: `make run` and `make test`.
# Both install the missing Debian packages, configure into build/ and build
# incrementally.

PACKAGES := cmake ninja-build g++ ccache qt6-base-dev libsqlite3-dev libssl-dev libcli11-dev \
            libgtest-dev libbenchmark-dev fonts-dejavu-core poppler-utils sqlite3
BUILD := build
JOBS ?= 2

.PHONY: all run test bench deps configure build clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -eq 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Run as root:"; \
	    echo "  apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The desktop program on a demonstration data directory, filled with the
# demonstration set the first time (later runs keep what the user changed).
run: build
	@$(BUILD)/kdm --data demo-data init --demo >$(BUILD)/demo-init.log 2>&1 \
	  || grep -q "already holds obligors" $(BUILD)/demo-init.log \
	  || { cat $(BUILD)/demo-init.log; exit 1; }
	@tail -1 $(BUILD)/demo-init.log
	$(BUILD)/kdm --data demo-data

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Every benchmark program in turn; each prints its figures and ratios.
bench: build
	for b in $(BUILD)/bench/kdm_bench_*; do echo "== $$b"; $$b || exit 1; done

clean:
	rm -rf $(BUILD)
