<?xml version="1.0" encoding="UTF-8"?>
<!--
  Suggested order: the special orders and backorders of customers, then the stock items to re-order with
  their quantities and the order total, laid out as a checklist to take to the supplier. Pass the date to
  print as the parameter "today" (MM/dd/yyyy); without it the processor's own date is used where it has one.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:date="http://exslt.org/dates-and-times" extension-element-prefixes="date"
                exclude-result-prefixes="date">
  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <xsl:param name="today" select="''"/>

  <xsl:template name="today">
    <xsl:choose>
      <xsl:when test="string($today) != ''"><xsl:value-of select="$today"/></xsl:when>
      <xsl:when test="function-available('date:date')">
        <xsl:variable name="d" select="date:date()"/>
        <xsl:value-of select="concat(substring($d, 6, 2), '/', substring($d, 9, 2), '/', substring($d, 1, 4))"/>
      </xsl:when>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="money">
    <xsl:param name="value"/>
    <xsl:choose>
      <xsl:when test="string(number($value)) != 'NaN'">
        <xsl:value-of select="format-number(number($value), '#,##0.00;-#,##0.00')"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$value"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/">
    <html lang="en">
      <head>
        <meta charset="UTF-8"/>
        <title>Suggested Order</title>
        <style>
          body { font-family: "DejaVu Sans", "Segoe UI", Arial, sans-serif; color: #222; margin: 2em auto;
                 max-width: 70em; padding: 0 1em; }
          header { display: flex; justify-content: space-between; align-items: baseline;
                   border-bottom: 3px solid #2f7a4f; margin-bottom: 1em; }
          h1 { font-size: 1.8em; margin: 0 0 .3em 0; color: #2f7a4f; }
          .date { font-size: 1.1em; color: #555; }
          h2 { font-size: 1.15em; margin: 1.6em 0 .5em 0; color: #2f7a4f; }
          table { width: 100%; border-collapse: collapse; font-size: .95em; }
          th, td { padding: .4em .55em; border-bottom: 1px solid #dce6df; vertical-align: top; }
          th { text-align: left; background: #edf5f0; font-weight: 600; }
          .num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
          .qty { font-weight: 700; font-size: 1.05em; }
          .check { width: 1.4em; text-align: center; color: #666; }
          .code { font-family: "DejaVu Sans Mono", Consolas, monospace; }
          .ordered { color: #1f6f3f; font-weight: 600; white-space: nowrap; }
          .pending { color: #a0521d; font-weight: 600; white-space: nowrap; }
          .remark { color: #666; }
          tbody tr:nth-child(even) td { background: #f8fbf9; }
          tr.total td { font-weight: 700; font-size: 1.1em; border-top: 2px solid #2f7a4f; border-bottom: none;
                        background: none; }
          .empty { padding: 1.2em; text-align: center; color: #777; border: 1px dashed #ccc; }
          @page { margin: 15mm; }
          @media print { body { margin: 0; max-width: none; } tr { page-break-inside: avoid; }
                         thead { display: table-header-group; } }
        </style>
      </head>
      <body>
        <xsl:apply-templates select="suggestedorderreport"/>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="suggestedorderreport">
    <header>
      <h1>Suggested Order</h1>
      <div class="date"><xsl:call-template name="today"/></div>
    </header>

    <h2>Special orders and backorders</h2>
    <xsl:choose>
      <xsl:when test="not(specialitems/*)">
        <p class="empty">No customer is waiting for an item.</p>
      </xsl:when>
      <xsl:otherwise>
        <table>
          <thead>
            <tr>
              <th class="check">&#x2713;</th><th class="num">Quantity</th><th>Item number</th><th>Description</th>
              <th>Customer</th><th>Note</th><th class="num">Unit cost</th><th>Status</th>
            </tr>
          </thead>
          <tbody>
            <xsl:for-each select="specialitems/*">
              <tr>
                <td class="check">&#x2610;</td>
                <td class="num qty"><xsl:value-of select="quantity"/></td>
                <td class="code"><xsl:value-of select="itemnumber"/></td>
                <td>
                  <xsl:value-of select="description"/>
                  <xsl:if test="string(remark) != ''"><xsl:text> </xsl:text><span class="remark"><xsl:value-of select="remark"/></span></xsl:if>
                </td>
                <td><xsl:value-of select="customer"/></td>
                <td><xsl:value-of select="note"/></td>
                <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="unitcost"/></xsl:call-template></td>
                <td>
                  <xsl:choose>
                    <xsl:when test="self::backorder"><span class="ordered">Ordered</span></xsl:when>
                    <xsl:otherwise><span class="pending">To order</span></xsl:otherwise>
                  </xsl:choose>
                </td>
              </tr>
            </xsl:for-each>
          </tbody>
        </table>
      </xsl:otherwise>
    </xsl:choose>

    <h2>Stock to re-order</h2>
    <xsl:choose>
      <xsl:when test="not(inventoryitems/item)">
        <p class="empty">Nothing needs to be re-ordered.</p>
      </xsl:when>
      <xsl:otherwise>
        <table>
          <thead>
            <tr>
              <th class="check">&#x2713;</th><th class="num">Order</th><th>Item number</th><th>Description</th>
              <th>Category</th><th class="num">In stock</th><th class="num">Sold</th><th class="num">Unit cost</th>
              <th class="num">Line total</th>
            </tr>
          </thead>
          <tbody>
            <xsl:for-each select="inventoryitems/item">
              <tr>
                <td class="check">&#x2610;</td>
                <td class="num qty"><xsl:value-of select="suggestedorderquantity"/></td>
                <td class="code"><xsl:value-of select="itemnumber"/></td>
                <td>
                  <xsl:value-of select="description"/>
                  <xsl:if test="string(remark) != ''"><xsl:text> </xsl:text><span class="remark"><xsl:value-of select="remark"/></span></xsl:if>
                </td>
                <td><xsl:value-of select="category"/></td>
                <td class="num"><xsl:value-of select="quantityinstock"/></td>
                <td class="num"><xsl:value-of select="quantitysold"/></td>
                <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="unitcost"/></xsl:call-template></td>
                <td class="num">
                  <xsl:if test="string(number(unitcost)) != 'NaN' and string(number(suggestedorderquantity)) != 'NaN'">
                    <xsl:call-template name="money">
                      <xsl:with-param name="value" select="number(suggestedorderquantity) * number(unitcost)"/>
                    </xsl:call-template>
                  </xsl:if>
                </td>
              </tr>
            </xsl:for-each>
          </tbody>
          <tfoot>
            <tr class="total">
              <td></td>
              <td colspan="7">Order total (<xsl:value-of select="count(inventoryitems/item)"/>
                <xsl:choose><xsl:when test="count(inventoryitems/item) = 1"> item</xsl:when><xsl:otherwise> items</xsl:otherwise></xsl:choose>)</td>
              <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="normalize-space(ordertotal)"/></xsl:call-template></td>
            </tr>
          </tfoot>
        </table>
      </xsl:otherwise>
    </xsl:choose>
    <xsl:if test="not(inventoryitems/item)">
      <p>Order total: <strong><xsl:call-template name="money"><xsl:with-param name="value" select="normalize-space(ordertotal)"/></xsl:call-template></strong></p>
    </xsl:if>
  </xsl:template>
</xsl:stylesheet>
