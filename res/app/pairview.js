// pairview.js: shows a side-by-side stereo picture in the page, with no library and no
// network. It reads the parameters stfile (the picture), type (0 side by side, 1 grey
// anaglyph, 2 colour anaglyph, 3 interlace), swap (0/1) and zoom (0 fits, else percent)
// from every element of class "pairview" (data-* attributes) and from old applet elements
// of a page (their <param> children). Keys: arrows align the right view, PageUp/PageDown
// zoom, X swaps. Dragging scrolls. The state shows in data-dx, data-dy, data-zoom,
// data-swap and data-type of the element, and data-state is "ready" or "error".
(function () {
  'use strict';

  var TYPES = ['Horizontal', 'Gray Anaglyph', 'Color Anaglyph', 'Interlace'];
  var GREY_FILTER_ID = 'pairview-grey';

  function readParams(element) {
    var params = {};
    ['stfile', 'type', 'swap', 'zoom'].forEach(function (name) {
      var value = element.getAttribute('data-' + name);
      if (value !== null) params[name] = value;
    });
    var list = element.getElementsByTagName('param');
    for (var i = 0; i < list.length; i++) {
      var name = (list[i].getAttribute('name') || '').toLowerCase();
      params[name] = list[i].getAttribute('value');
    }
    return params;
  }

  // The grey of the anaglyphs: 0.299 R + 0.587 G + 0.114 B, in sRGB values.
  function ensureGreyFilter() {
    if (document.getElementById(GREY_FILTER_ID)) return;
    var ns = 'http://www.w3.org/2000/svg';
    var svg = document.createElementNS(ns, 'svg');
    svg.setAttribute('width', '0');
    svg.setAttribute('height', '0');
    svg.style.position = 'absolute';
    var filter = document.createElementNS(ns, 'filter');
    filter.setAttribute('id', GREY_FILTER_ID);
    filter.setAttribute('color-interpolation-filters', 'sRGB');
    var matrix = document.createElementNS(ns, 'feColorMatrix');
    matrix.setAttribute('type', 'matrix');
    var row = '0.299 0.587 0.114 0 0 ';
    matrix.setAttribute('values', row + row + row + '0 0 0 1 0');
    filter.appendChild(matrix);
    svg.appendChild(filter);
    document.body.appendChild(svg);
  }

  function makeCanvas(width, height) {
    var canvas = document.createElement('canvas');
    canvas.width = Math.max(1, width);
    canvas.height = Math.max(1, height);
    return canvas;
  }

  // One view's part for the offset: the right view is moved by (dx, dy) against the left.
  function cut(image, viewX, x, y, w, h) {
    var canvas = makeCanvas(w, h);
    canvas.getContext('2d').drawImage(image, viewX + x, y, w, h, 0, 0, w, h);
    return canvas;
  }

  // The view multiplied by a colour: keeps only the channels the colour has.
  function channels(view, colour, grey) {
    var canvas = makeCanvas(view.width, view.height);
    var ctx = canvas.getContext('2d');
    if (grey) ctx.filter = 'url(#' + GREY_FILTER_ID + ')';
    ctx.drawImage(view, 0, 0);
    ctx.filter = 'none';
    ctx.globalCompositeOperation = 'multiply';
    ctx.fillStyle = colour;
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    return canvas;
  }

  function Viewer(host) {
    var params = readParams(host);
    this.host = host;
    this.file = params.stfile || '';
    this.type = Math.min(3, Math.max(0, parseInt(params.type, 10) || 0));
    this.swap = parseInt(params.swap, 10) === 1;
    this.initialZoom = Math.max(0, parseInt(params.zoom, 10) || 0);
    var width = parseInt(host.getAttribute('width') || host.style.width, 10) || 805;
    var height = parseInt(host.getAttribute('height') || host.style.height, 10) || 345;
    this.build(Math.max(1, width - 5), Math.max(1, height - 45));
    this.reset();
    this.load();
  }

  Viewer.prototype.build = function (width, height) {
    var self = this;
    // An applet element is replaced; our own element is filled.
    var box = this.host;
    if (box.tagName.toLowerCase() !== 'div') {
      box = document.createElement('div');
      box.className = 'pairview';
      this.host.parentNode.replaceChild(box, this.host);
      this.host = box;
    }
    box.innerHTML = '';
    box.style.display = 'inline-block';
    box.tabIndex = 0;
    box.style.outline = 'none';
    this.canvas = makeCanvas(width, height);
    this.canvas.style.display = 'block';
    this.canvas.style.cursor = 'move';
    box.appendChild(this.canvas);
    var bar = document.createElement('div');
    bar.style.font = '12px sans-serif';
    bar.style.marginTop = '4px';
    box.appendChild(bar);
    function button(text, action) {
      var b = document.createElement('button');
      b.type = 'button';
      b.textContent = text;
      b.addEventListener('click', function () { action(); box.focus(); });
      bar.appendChild(b);
      return b;
    }
    this.typeList = document.createElement('select');
    TYPES.forEach(function (name, index) {
      var option = document.createElement('option');
      option.value = String(index);
      option.textContent = name;
      self.typeList.appendChild(option);
    });
    this.typeList.addEventListener('change', function () {
      self.type = parseInt(self.typeList.value, 10);
      self.render();
    });
    bar.appendChild(this.typeList);
    button('Swap L/R', function () { self.swap = !self.swap; self.render(); });
    button('Reset', function () { self.reset(); self.render(); });
    button('FitSize', function () { self.zoom = 0; self.render(); });
    button('100%', function () { self.zoom = 100; self.render(); });
    button('L', function () { self.align(-1, 0); });
    button('R', function () { self.align(1, 0); });
    button('U', function () { self.align(0, -1); });
    button('D', function () { self.align(0, 1); });
    this.zoomBar = document.createElement('input');
    this.zoomBar.type = 'range';
    this.zoomBar.min = '10';
    this.zoomBar.max = '400';
    this.zoomBar.addEventListener('input', function () {
      self.zoom = parseInt(self.zoomBar.value, 10);
      self.render();
    });
    bar.appendChild(this.zoomBar);

    // Keys reach the viewer wherever the focus is, except in the type list and the zoom bar.
    document.addEventListener('keydown', function (event) {
      var tag = event.target && event.target.tagName ? event.target.tagName.toLowerCase() : '';
      if (tag !== 'select' && tag !== 'input' && tag !== 'textarea') self.key(event);
    });
    var drag = null;
    this.canvas.addEventListener('mousedown', function (event) {
      drag = {x: event.clientX, y: event.clientY, sx: self.scrollX, sy: self.scrollY};
      box.focus();
      event.preventDefault();
    });
    window.addEventListener('mousemove', function (event) {
      if (!drag) return;
      self.scrollX = drag.sx - (event.clientX - drag.x);
      self.scrollY = drag.sy - (event.clientY - drag.y);
      self.render();
    });
    window.addEventListener('mouseup', function () { drag = null; });
  };

  Viewer.prototype.key = function (event) {
    var handled = true;
    switch (event.key) {
      case 'ArrowLeft': this.align(-1, 0); break;
      case 'ArrowRight': this.align(1, 0); break;
      case 'ArrowUp': this.align(0, -1); break;
      case 'ArrowDown': this.align(0, 1); break;
      case 'PageUp': this.zoomBy(1.25); break;
      case 'PageDown': this.zoomBy(0.8); break;
      case 'x': case 'X': this.swap = !this.swap; this.render(); break;
      default: handled = false;
    }
    if (handled) event.preventDefault();
  };

  Viewer.prototype.reset = function () {
    this.dx = 0;
    this.dy = 0;
    this.scrollX = 0;
    this.scrollY = 0;
    this.zoom = this.initialZoom;
  };

  Viewer.prototype.align = function (x, y) {
    this.dx += x;
    this.dy += y;
    this.render();
  };

  Viewer.prototype.zoomBy = function (factor) {
    var now = this.scale() * 100;
    this.zoom = Math.max(10, Math.min(400, Math.round(now * factor)));
    this.render();
  };

  Viewer.prototype.message = function (text) {
    var ctx = this.canvas.getContext('2d');
    ctx.fillStyle = '#fff';
    ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    ctx.fillStyle = '#000';
    ctx.font = '14px sans-serif';
    ctx.fillText(text, 10, 24);
  };

  Viewer.prototype.load = function () {
    var self = this;
    this.message('Loading images...');
    this.image = new Image();
    this.image.onload = function () { self.render(); };
    this.image.onerror = function () {
      self.message('Error on loading images!');
      self.host.setAttribute('data-state', 'error');
    };
    this.image.src = this.file;
  };

  // The composed picture of the current type, swap and offset.
  Viewer.prototype.compose = function () {
    var image = this.image;
    var half = Math.floor(image.naturalWidth / 2);
    var height = image.naturalHeight;
    var dx = Math.max(-(half - 10), Math.min(half - 10, this.dx));
    var dy = Math.max(-(height - 10), Math.min(height - 10, this.dy));
    this.dx = dx;
    this.dy = dy;
    var w = half - Math.abs(dx);
    var h = height - Math.abs(dy);
    var leftX = 0, rightX = half;
    if (this.swap) { leftX = half; rightX = 0; }
    // The left view's part starts where the moved right view begins.
    var left = cut(image, leftX, Math.max(dx, 0), Math.max(dy, 0), w, h);
    var right = cut(image, rightX, Math.max(-dx, 0), Math.max(-dy, 0), w, h);
    var out;
    var ctx;
    switch (this.type) {
      case 1:
      case 2: {
        var grey = this.type === 1;
        out = makeCanvas(w, h);
        ctx = out.getContext('2d');
        ctx.drawImage(channels(left, '#ff0000', grey), 0, 0);
        ctx.globalCompositeOperation = 'lighter';
        ctx.drawImage(channels(right, '#00ffff', grey), 0, 0);
        return out;
      }
      case 3: {
        out = makeCanvas(w, h);
        ctx = out.getContext('2d');
        ctx.drawImage(left, 0, 0);
        for (var y = 1; y < h; y += 2) ctx.drawImage(right, 0, y, w, 1, 0, y, w, 1);
        return out;
      }
      default: {
        out = makeCanvas(2 * w, h);
        ctx = out.getContext('2d');
        ctx.drawImage(left, 0, 0);
        ctx.drawImage(right, w, 0);
        return out;
      }
    }
  };

  Viewer.prototype.scale = function () {
    if (this.zoom > 0) return this.zoom / 100;
    if (!this.composed) return 1;
    return Math.min(this.canvas.width / this.composed.width,
                    this.canvas.height / this.composed.height);
  };

  Viewer.prototype.render = function () {
    if (!this.image || !this.image.naturalWidth) return;
    if (this.type === 1 || this.type === 2) ensureGreyFilter();
    this.composed = this.compose();
    var scale = this.scale();
    var w = Math.round(this.composed.width * scale);
    var h = Math.round(this.composed.height * scale);
    this.scrollX = Math.max(0, Math.min(this.scrollX, w - this.canvas.width));
    this.scrollY = Math.max(0, Math.min(this.scrollY, h - this.canvas.height));
    var x = w < this.canvas.width ? Math.floor((this.canvas.width - w) / 2) : -this.scrollX;
    var y = h < this.canvas.height ? Math.floor((this.canvas.height - h) / 2) : -this.scrollY;
    var ctx = this.canvas.getContext('2d');
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    ctx.imageSmoothingEnabled = scale < 1;
    ctx.drawImage(this.composed, x, y, w, h);
    this.typeList.value = String(this.type);
    this.zoomBar.value = String(Math.round(scale * 100));
    var host = this.host;
    host.setAttribute('data-dx', String(this.dx));
    host.setAttribute('data-dy', String(this.dy));
    host.setAttribute('data-zoom', String(Math.round(scale * 100)));
    host.setAttribute('data-swap', this.swap ? '1' : '0');
    host.setAttribute('data-type', String(this.type));
    host.setAttribute('data-left', String(x));
    host.setAttribute('data-top', String(y));
    host.setAttribute('data-state', 'ready');
  };

  function start() {
    var found = [];
    var own = document.querySelectorAll('.pairview');
    for (var i = 0; i < own.length; i++) found.push(own[i]);
    var applets = document.querySelectorAll('applet, object');
    for (var j = 0; j < applets.length; j++) {
      var code = (applets[j].getAttribute('code') || '').toLowerCase();
      if (code.indexOf('pairview') === 0) found.push(applets[j]);
    }
    found.forEach(function (element) { element.pairview = new Viewer(element); });
    if (found.length === 1) found[0].pairview.host.focus();
  }

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})();
