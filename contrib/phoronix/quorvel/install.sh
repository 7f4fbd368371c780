#!/bin/sh
# Installs nothing: Quorvel comes from the distribution's package or from
# `cmake --install` (see its README). This writes the wrapper the test suite
# runs, which starts the installed program's unattended run and leaves the
# report, whose last line is "Overall Benchmark Score : N", in $LOG_FILE.
# QUORVEL_BINARY names another program file, such as a build folder's.
program="${QUORVEL_BINARY:-$(command -v quorvel)}"
if [ -z "$program" ] || [ ! -x "$program" ]; then
  echo "Quorvel is not installed: install its package, or set QUORVEL_BINARY" >&2
  echo 1 > ~/install-exit-status
  exit 1
fi
cat > quorvel <<WRAPPER
#!/bin/sh
"$program" --run "\$@" > "\$LOG_FILE" 2>&1
echo \$? > ~/test-exit-status
WRAPPER
chmod +x quorvel
echo 0 > ~/install-exit-status
