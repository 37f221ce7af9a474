// A plain static server for build-web/site on 127.0.0.1, as a player or the
// browser test needs it: the right types (a browser compiles .wasm as it
// arrives only when it is served as application/wasm) and gzip where the
// browser accepts it, as a real server would send it.
//   node tools/web/serve.js SITE_DIR [PORT]   (PORT 0: any free one)
// Prints "serving http://127.0.0.1:PORT/" once it listens.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const root = path.resolve(process.argv[2] || 'build-web/site');
const port = parseInt(process.argv[3] || '8080', 10);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
  '.data': 'application/octet-stream',
};
const gzipped = new Map();  // file -> { mtime, body }

function gzipOf(file, stat) {
  const kept = gzipped.get(file);
  if (kept && kept.mtime === stat.mtimeMs)
    return kept.body;
  const body = zlib.gzipSync(fs.readFileSync(file), { level: 9 });
  gzipped.set(file, { mtime: stat.mtimeMs, body });
  return body;
}

const server = http.createServer((req, res) => {
  let name;
  try {
    name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
  } catch (e) {
    res.writeHead(400).end();
    return;
  }
  if (name.endsWith('/'))
    name += 'index.html';
  // Only files inside the site, never a path that climbs out of it.
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep) || (req.method !== 'GET' && req.method !== 'HEAD')) {
    res.writeHead(404).end();
    return;
  }
  fs.stat(file, (err, stat) => {
    if (err || !stat.isFile()) {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
      return;
    }
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache' };
    let body;
    if (/\bgzip\b/.test(req.headers['accept-encoding'] || '')) {
      body = gzipOf(file, stat);
      headers['Content-Encoding'] = 'gzip';
    } else {
      body = fs.readFileSync(file);
    }
    headers['Content-Length'] = body.length;
    res.writeHead(200, headers);
    res.end(req.method === 'HEAD' ? undefined : body);
  });
});
server.listen(port, '127.0.0.1', () => {
  console.log('serving http://127.0.0.1:' + server.address().port + '/');
});
