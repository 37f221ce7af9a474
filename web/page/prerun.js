// Runs inside the game's script before the game starts: what the page asks
// of the game (its query), and the browser's storage for the best score.

// The query in the game's own options: ?play=NAME shows demos/NAME.demo at
// its pace, ?timedemo=NAME runs it as fast as the page goes, ?nosound
// starts without sound. A page always shows a window of its own.
Module['arguments'] = (function () {
  var args = ['--window'];
  var params = new URLSearchParams(location.search);
  ['play', 'timedemo'].forEach(function (key) {
    var name = params.get(key);
    if (name === null)
      return;
    // Only a plain name: the page never reads a path the query makes up.
    if (/^[A-Za-z0-9_-]{1,64}$/.test(name))
      args.push('--' + key, 'demos/' + name + '.demo');
    else
      console.warn('driftwing: ?' + key + '= takes the name of a demo, not "' + name + '"');
  });
  if (params.has('nosound'))
    args.push('--nosound');
  return args;
})();

// The best score lives in /save, kept in IndexedDB: read before the game
// starts, written after each save. Where the browser refuses storage
// (private windows, a blocked site) the folder stays in memory: the game
// plays and the best lasts as long as the page.
var bestStorage = { ok: false, busy: false, again: false };
var bestFile = '/save/high1';

function storageRefused(err) {
  bestStorage.ok = false;
  console.warn('driftwing: the browser keeps no storage for this page (' + (err && err.message || err) +
               '); the best score lasts until the page is closed');
}

Module['preRun'] = (Module['preRun'] || []).concat(function () {
  FS.mkdir('/save');
  try {
    FS.mount(IDBFS, {}, '/save');
  } catch (e) {
    storageRefused(e);
    return;
  }
  addRunDependency('best-score');
  try {
    FS.syncfs(true, function (err) {
      if (err)
        storageRefused(err);
      else
        bestStorage.ok = true;
      removeRunDependency('best-score');
    });
  } catch (e) {
    storageRefused(e);
    removeRunDependency('best-score');
  }
});

// The score in a file's text, as the game reads it, or null.
function scoreIn(bytes) {
  if (!bytes)
    return null;
  var m = /^\s*[+-]?\d+/.exec(String.fromCharCode.apply(null, bytes.subarray ? bytes.subarray(0, 32) : bytes.slice(0, 32)));
  return m ? parseInt(m[0], 10) : null;
}

function localBest() {
  try {
    return scoreIn(FS.readFile(bestFile));
  } catch (e) {
    return null;
  }
}

// Copies /save into the browser's storage. Another tab of the same site
// may have stored a higher best meanwhile: that one is kept, and this
// page's file takes it, so the game never saves below it either.
function persistBest() {
  if (!bestStorage.ok)
    return;
  if (bestStorage.busy) {
    bestStorage.again = true;
    return;
  }
  bestStorage.busy = true;
  function done(err) {
    if (err)
      console.warn('driftwing: the best score could not be stored in the browser (' + (err.message || err) + ')');
    bestStorage.busy = false;
    if (bestStorage.again) {
      bestStorage.again = false;
      persistBest();
    }
  }
  IDBFS.getDB('/save', function (err, db) {
    if (err)
      return done(err);
    var get;
    try {
      get = db.transaction([IDBFS.DB_STORE_NAME], 'readonly').objectStore(IDBFS.DB_STORE_NAME).get(bestFile);
    } catch (e) {
      return done(e);
    }
    get.onerror = function () { done(get.error); };
    get.onsuccess = function () {
      var stored = scoreIn(get.result && get.result.contents);
      var local = localBest();
      if (stored !== null && (local === null || stored > local)) {
        FS.writeFile(bestFile, String(stored));
        return done(null);
      }
      FS.syncfs(false, done);
    };
  });
}
Module['persistBestScore'] = persistBest;

// Hiding the page may be the last the game hears of it (closing a tab, a
// phone switching apps): it saves the run's best and pauses.
document.addEventListener('visibilitychange', function () {
  if (document.hidden && Module['_webPageHidden'])
    Module['_webPageHidden']();
});
