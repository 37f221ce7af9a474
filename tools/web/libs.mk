# Builds SDL 2, libxmp and SDL2_mixer for WebAssembly as static libraries,
# straight from plain source lists: no configure step. Each library's own
# configure links a test program per check with emcc, which starts slowly,
# and that was nearly all of the build's time. What those checks would find
# on this platform is fixed: SDL 2 ships its answers for it
# (include/SDL_config_emscripten.h), libxmp's are the few defines below, and
# SDL2_mixer needs only its choice of formats.
#
# Run by build-libs.sh, which fetches the sources and passes:
#   SDL2 XMP MIXER  the unpacked source folders
#   OBJ             where objects go
#   PREFIX          where libraries and headers are installed
#   CC CFLAGS_EM    the compiler and the flags emcc would give it (emcc
#                   --cflags): the same objects as through emcc, without
#                   starting emcc's Python once per file
#   AR              emar
# Targets: sdl2, xmp, mixer (in that order: the mixer needs both headers).

.DEFAULT_GOAL := all
.SUFFIXES:
.DELETE_ON_ERROR:

# Objects are rebuilt when this recipe changes.
RECIPE := $(firstword $(MAKEFILE_LIST))
OPT := -O2 -DNDEBUG

# --- SDL 2 -------------------------------------------------------------------
# The sources SDL's own CMake build picks for this platform: the generic code,
# the emscripten back ends (video, audio, joystick through the Gamepad API,
# timers, file system, power, locale, URLs), the dummy and disk audio drivers,
# the dummy sensor and haptic, dlopen, and the generic thread stubs (a page has no
# threads). The renderers and HIDAPI compile to nothing where the config
# header leaves them off.
SDL2_DIRS := atomic audio cpuinfo dynapi events file joystick haptic hidapi \
	libm locale misc power render render/* sensor stdlib thread timer video \
	video/yuv2rgb \
	audio/dummy audio/disk audio/emscripten loadso/dlopen sensor/dummy haptic/dummy \
	misc/emscripten filesystem/emscripten joystick/emscripten power/emscripten \
	locale/emscripten timer/unix video/emscripten thread/generic
SDL2_SRC := $(patsubst $(SDL2)/%,%,$(wildcard $(SDL2)/src/*.c) \
	$(foreach d,$(SDL2_DIRS),$(wildcard $(SDL2)/src/$(d)/*.c)))
SDL2_OBJ := $(SDL2_SRC:%.c=$(OBJ)/sdl2/%.o)
# SDL's build adds these two flags; the khronos folder holds the EGL and GLES
# headers, behind the system's own.
SDL2_FLAGS := $(OPT) -fno-strict-aliasing -fvisibility=hidden \
	-I$(SDL2)/include -idirafter $(SDL2)/src/video/khronos

$(OBJ)/sdl2/%.o: $(SDL2)/%.c $(RECIPE)
	@mkdir -p $(@D)
	@$(CC) $(CFLAGS_EM) $(SDL2_FLAGS) -c $< -o $@

# --- libxmp ------------------------------------------------------------------
# libxmp's makefile fragments list its objects, by path from its root, as
# its own makefile adds them up: OBJS (the player and the loaders),
# PROWIZARD_OBJS and DEPACKER_OBJS. They are read as they are, so the list
# is always the unpacked version's; their own rules are never run.
ifneq ($(XMP),)
include $(XMP)/src/Makefile $(XMP)/src/loaders/Makefile \
	$(XMP)/src/loaders/prowizard/Makefile $(XMP)/src/depackers/Makefile
endif
XMP_SRC := $(patsubst %.o,%.c,$(OBJS) $(PROWIZARD_OBJS) $(DEPACKER_OBJS))
XMP_OBJ := $(XMP_SRC:%.c=$(OBJ)/xmp/%.o)
# What libxmp's configure finds in emscripten's C library; the process calls
# (fork, pipe, popen) it would also find cannot run in a page, so the
# depackers that shell out to other programs stay off, as a page needs.
XMP_FLAGS := $(OPT) -fvisibility=hidden -DXMP_SYM_VISIBILITY -DBUILDING_STATIC \
	-D_REENTRANT -DHAVE_ALLOCA_H -DHAVE_DIRENT_H -DHAVE_MKSTEMP -DHAVE_FNMATCH \
	-DHAVE_UMASK -DHAVE_ROUND -DHAVE_POWF -I$(XMP)/include -I$(XMP)/src

$(OBJ)/xmp/%.o: $(XMP)/%.c $(RECIPE)
	@mkdir -p $(@D)
	@$(CC) $(CFLAGS_EM) $(XMP_FLAGS) -c $< -o $@

# --- SDL2_mixer --------------------------------------------------------------
# The sources SDL2_mixer's own build always compiles; each format's code
# compiles to nothing unless its MUSIC_ define is given: WAV (the sound
# effects) and libxmp (the music module) are, every other format is off.
MIXER_SRC := src/mixer.c src/music.c src/utils.c src/effect_position.c \
	src/effect_stereoreverse.c src/effects_internal.c \
	$(patsubst $(MIXER)/%,%,$(wildcard $(MIXER)/src/codecs/*.c))
MIXER_OBJ := $(MIXER_SRC:%.c=$(OBJ)/mixer/%.o)
MIXER_FLAGS := $(OPT) -DMUSIC_WAV -DMUSIC_MOD_XMP -I$(MIXER)/include \
	-I$(MIXER)/src -I$(MIXER)/src/codecs -I$(PREFIX)/include/SDL2 -I$(PREFIX)/include

$(OBJ)/mixer/%.o: $(MIXER)/%.c $(RECIPE) $(PREFIX)/include/SDL2/SDL.h $(PREFIX)/include/xmp.h
	@mkdir -p $(@D)
	@$(CC) $(CFLAGS_EM) $(MIXER_FLAGS) -c $< -o $@

# --- libraries and headers ---------------------------------------------------
LIB := $(PREFIX)/lib
$(LIB)/libSDL2.a: $(SDL2_OBJ)
$(LIB)/libxmp.a: $(XMP_OBJ)
$(LIB)/libSDL2_mixer.a: $(MIXER_OBJ)
$(LIB)/%.a:
	@mkdir -p $(@D)
	@rm -f $@
	@$(AR) rcs $@ $^

# SDL's include/SDL_config.h picks SDL_config_emscripten.h by itself.
$(PREFIX)/include/SDL2/SDL.h: $(wildcard $(SDL2)/include/*.h)
	@mkdir -p $(@D)
	@cp $^ $(@D)/
	@touch $@
$(PREFIX)/include/xmp.h: $(XMP)/include/xmp.h
	@mkdir -p $(@D)
	@cp $< $@
$(PREFIX)/include/SDL2/SDL_mixer.h: $(MIXER)/include/SDL_mixer.h
	@mkdir -p $(@D)
	@cp $< $@

sdl2: $(LIB)/libSDL2.a $(PREFIX)/include/SDL2/SDL.h
xmp: $(LIB)/libxmp.a $(PREFIX)/include/xmp.h
mixer: $(LIB)/libSDL2_mixer.a $(PREFIX)/include/SDL2/SDL_mixer.h
all: sdl2 xmp mixer
.PHONY: all sdl2 xmp mixer
