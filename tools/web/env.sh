# Sourced by the web build scripts: where things go and what emcc needs.
# WEB is the browser build's folder (build-web/ in the worktree by default).
: "${WEB:=$(cd "$(dirname "$0")/../.." && pwd)/build-web}"
DEPS="$WEB/deps"
PREFIX="$DEPS/prefix"

# emcc runs its JavaScript optimiser under node and needs acorn, which Debian
# ships in /usr/share/nodejs; Debian's own node looks there by itself, a node
# from elsewhere does not ("Cannot find module 'acorn'" at -O1 and above).
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

# Debian's emscripten comes with its system libraries prebuilt and its cache
# frozen. That is enough here: nothing below uses emscripten's ports (they
# download, which this build never does), so the frozen cache is left as is.

# The machine is shared: builds run at low priority.
NICE="nice -n 10"
