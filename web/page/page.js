// The page around the game: the picture's size, full screen, the hint about
// sound, and what the game prints, shown while it loads.
(function () {
  var canvas = document.getElementById('canvas');
  var stage = document.getElementById('stage');
  var status = document.getElementById('status');
  var hint = document.getElementById('hint');
  var lastComplaint = '';

  // The largest whole factor that fits the window (at least 1). The canvas
  // keeps 640 x 480 pixels; only its size on the page changes.
  function fit() {
    var n = Math.max(1, Math.min(Math.floor(stage.clientWidth / 640), Math.floor(stage.clientHeight / 480)));
    canvas.style.width = 640 * n + 'px';
    canvas.style.height = 480 * n + 'px';
  }

  function toggleFullScreen() {
    if (document.fullscreenElement)
      document.exitFullscreen();
    else if (stage.requestFullscreen)
      stage.requestFullscreen().catch(function (e) {
        console.warn('driftwing: full screen refused (' + e.message + ')');
      });
  }

  // F11 and Alt+Enter switch full screen, as on the desktop; the page does
  // it (a browser allows it only in answer to a key or a click), so the
  // game never sees those keys.
  window.addEventListener('keydown', function (e) {
    if (e.key === 'F11' || (e.key === 'Enter' && e.altKey)) {
      e.preventDefault();
      e.stopImmediatePropagation();
      if (!e.repeat)
        toggleFullScreen();
    }
  }, true);

  // Browsers keep sound off until the first key or click; the game's
  // library starts it then, and the hint goes.
  function firstGesture() {
    hint.hidden = true;
    hint.dataset.done = "1";
    ['keydown', 'mousedown', 'touchstart'].forEach(function (t) {
      window.removeEventListener(t, firstGesture, true);
    });
  }
  ['keydown', 'mousedown', 'touchstart'].forEach(function (t) {
    window.addEventListener(t, firstGesture, true);
  });

  document.getElementById('fullscreen').addEventListener('click', function (e) {
    toggleFullScreen();
    e.currentTarget.blur();
  });
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);

  window.Module = {
    canvas: canvas,
    // The page's size is set once the game has made its window: SDL takes
    // a canvas sized by the page for one it should resize itself.
    postRun: [function () {
      status.hidden = true;
      canvas.classList.add('running');
      if (hint.parentNode && !hint.dataset.done)
        hint.hidden = false;
      fit();
      canvas.focus();
    }],
    // The game ended (a demo played out): the picture stays, and the
    // line below it says how to go again.
    gameEnded: function (early) {
      hint.textContent = (early && lastComplaint ? lastComplaint + '.' : 'The end.') +
                         ' Reload the page to play again.';
      hint.hidden = false;
    },
    // The game's standard error goes to the console, and its last line to
    // the page should the game stop on it.
    printErr: function (text) {
      console.warn(text);
      if (/^driftwing: /.test(text))
        lastComplaint = text.slice(11);
    },
    setStatus: function (text) {
      if (text)
        status.textContent = text;
    },
    onAbort: function (what) {
      status.hidden = false;
      status.textContent = 'Driftwing stopped: ' + what;
    }
  };
})();
