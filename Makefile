# The two commands of the README, and the others.
.PHONY: run test dist bench clean

run:
	scripts/run-clock.sh

test:
	scripts/test.sh

dist:
	scripts/dist.sh

bench:
	scripts/bench.sh

clean:
	rm -rf build
