# The two commands of the README.
#   make run   installs what is missing, builds and starts the game
#   make test  installs what is missing, builds and runs every test
#   make web        builds the browser version into build-web/
#   make serve-web  serves build-web/ on http://localhost:8000/
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test deps build web serve-web

run: build
	./$(BUILD)/quadrill

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

deps:
	scripts/install-deps

web: deps
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/build-web

serve-web: web
	@echo "Quadrill at http://localhost:8000/ (Ctrl+C stops)"
	cd build-web && python3 -m http.server --bind 127.0.0.1 8000
